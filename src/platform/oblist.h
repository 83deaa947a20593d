// Doubly linked list of object pointers. A position names one node and stays
// valid until that node is removed, whatever else is inserted or removed.
// Every list states whether it owns its objects: an owning list frees the
// objects it still holds when it goes, and in DeleteAll and DeleteAt; a
// naming list never frees one.
#pragma once

#include "platform/object.h"

#include <cstddef>

class CArchive;

struct CObListNode;
using POSITION = CObListNode*;

// Whether a list frees its objects (owns) or only refers to objects that
// something else holds (names).
enum class ListOwnership { owns, names };

class CObList {
public:
    explicit CObList(ListOwnership ownership) : m_ownership(ownership) {}
    // An owning list frees the objects it holds.
    ~CObList();
    CObList(const CObList&) = delete;
    CObList& operator=(const CObList&) = delete;

    ListOwnership Ownership() const { return m_ownership; }
    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }

    POSITION GetHeadPosition() const { return m_head; }
    POSITION GetTailPosition() const { return m_tail; }
    CObject* GetHead() const;
    CObject* GetTail() const;

    // Returns the object at pos and moves pos to the next (previous) node, null past the end.
    CObject* GetNext(POSITION& pos) const;
    CObject* GetPrev(POSITION& pos) const;
    CObject* GetAt(POSITION pos) const;
    void SetAt(POSITION pos, CObject* obj);

    POSITION AddHead(CObject* obj);
    POSITION AddTail(CObject* obj);
    // Moves every node of other, and so its objects, to the tail of this
    // list; other ends empty.
    void AddTail(CObList& other);
    void Swap(CObList& other) noexcept;
    POSITION InsertBefore(POSITION pos, CObject* obj);
    POSITION InsertAfter(POSITION pos, CObject* obj);

    // Each unlinks nodes and leaves their objects to the caller.
    CObject* RemoveHead();
    CObject* RemoveTail();
    void RemoveAt(POSITION pos);
    void RemoveAll();
    // Each unlinks nodes and, when the list owns them, frees their objects.
    void DeleteAt(POSITION pos);
    void DeleteAll();

    // First node holding obj after startAfter (from the head when null), or null.
    POSITION Find(const CObject* obj, POSITION startAfter = nullptr) const;
    // Node at zero-based index, or null when out of range.
    POSITION FindIndex(int index) const;

    // Stores the count and each object; loading appends every object read, of
    // class elementClass, at the tail. An owning list takes each object it reads
    // first, and one a naming list read first; any other object it meets again
    // fails the load, so each object has one owner. A naming list leaves the
    // objects it reads first with the archive (CArchive::KeepUnowned) until
    // an owning list takes them. A null element fails the load.
    void Serialize(CArchive& ar, const CRuntimeClass* elementClass);

    class const_iterator {
    public:
        explicit const_iterator(POSITION p) : m_pos(p) {}
        CObject* operator*() const;
        const_iterator& operator++();
        bool operator!=(const const_iterator& o) const { return m_pos != o.m_pos; }
        bool operator==(const const_iterator& o) const { return m_pos == o.m_pos; }

    private:
        POSITION m_pos;
    };
    const_iterator begin() const { return const_iterator(m_head); }
    const_iterator end() const { return const_iterator(nullptr); }

private:
    ListOwnership m_ownership;
    POSITION m_head = nullptr;
    POSITION m_tail = nullptr;
    int m_count = 0;
};

struct CObListNode {
    CObListNode* next;
    CObListNode* prev;
    CObject* data;
};
