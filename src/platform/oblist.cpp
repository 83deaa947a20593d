#include "platform/oblist.h"

#include "platform/archive.h"

#include <cassert>
#include <memory>
#include <utility>

CObList::~CObList()
{
    DeleteAll();
}

CObject* CObList::GetHead() const
{
    assert(m_head);
    return m_head->data;
}

CObject* CObList::GetTail() const
{
    assert(m_tail);
    return m_tail->data;
}

CObject* CObList::GetNext(POSITION& pos) const
{
    CObListNode* node = pos;
    pos = node->next;
    return node->data;
}

CObject* CObList::GetPrev(POSITION& pos) const
{
    CObListNode* node = pos;
    pos = node->prev;
    return node->data;
}

CObject* CObList::GetAt(POSITION pos) const
{
    return pos->data;
}

void CObList::SetAt(POSITION pos, CObject* obj)
{
    pos->data = obj;
}

POSITION CObList::AddHead(CObject* obj)
{
    return m_head ? InsertBefore(m_head, obj) : AddTail(obj);
}

POSITION CObList::AddTail(CObject* obj)
{
    auto* node = new CObListNode{nullptr, m_tail, obj};
    (m_tail ? m_tail->next : m_head) = node;
    m_tail = node;
    ++m_count;
    return node;
}

void CObList::AddTail(CObList& other)
{
    if (&other == this || !other.m_head)
        return;
    other.m_head->prev = m_tail;
    (m_tail ? m_tail->next : m_head) = other.m_head;
    m_tail = other.m_tail;
    m_count += other.m_count;
    other.m_head = other.m_tail = nullptr;
    other.m_count = 0;
}

void CObList::Swap(CObList& other) noexcept
{
    std::swap(m_head, other.m_head);
    std::swap(m_tail, other.m_tail);
    std::swap(m_count, other.m_count);
}

POSITION CObList::InsertBefore(POSITION pos, CObject* obj)
{
    if (!pos)
        return AddHead(obj);
    auto* node = new CObListNode{pos, pos->prev, obj};
    (pos->prev ? pos->prev->next : m_head) = node;
    pos->prev = node;
    ++m_count;
    return node;
}

POSITION CObList::InsertAfter(POSITION pos, CObject* obj)
{
    if (!pos)
        return AddTail(obj);
    auto* node = new CObListNode{pos->next, pos, obj};
    (pos->next ? pos->next->prev : m_tail) = node;
    pos->next = node;
    ++m_count;
    return node;
}

CObject* CObList::RemoveHead()
{
    assert(m_head);
    CObject* obj = m_head->data;
    RemoveAt(m_head);
    return obj;
}

CObject* CObList::RemoveTail()
{
    assert(m_tail);
    CObject* obj = m_tail->data;
    RemoveAt(m_tail);
    return obj;
}

void CObList::RemoveAt(POSITION pos)
{
    (pos->prev ? pos->prev->next : m_head) = pos->next;
    (pos->next ? pos->next->prev : m_tail) = pos->prev;
    delete pos;
    --m_count;
}

void CObList::RemoveAll()
{
    for (CObListNode* node = m_head; node;) {
        CObListNode* next = node->next;
        delete node;
        node = next;
    }
    m_head = m_tail = nullptr;
    m_count = 0;
}

void CObList::DeleteAt(POSITION pos)
{
    CObject* obj = pos->data;
    RemoveAt(pos);
    if (m_ownership == ListOwnership::owns)
        delete obj;
}

void CObList::DeleteAll()
{
    while (m_head)
        DeleteAt(m_head);
}

POSITION CObList::Find(const CObject* obj, POSITION startAfter) const
{
    for (POSITION pos = startAfter ? startAfter->next : m_head; pos; pos = pos->next)
        if (pos->data == obj)
            return pos;
    return nullptr;
}

POSITION CObList::FindIndex(int index) const
{
    if (index < 0 || index >= m_count)
        return nullptr;
    POSITION pos = m_head;
    while (index-- > 0)
        pos = pos->next;
    return pos;
}

void CObList::Serialize(CArchive& ar, const CRuntimeClass* elementClass)
{
    if (ar.IsStoring()) {
        ar.WriteCount(std::size_t(m_count));
        for (CObject* obj : *this)
            ar.WriteObject(obj);
        return;
    }
    // Every element takes at least its two-byte tag.
    std::size_t count = ar.ReadCount(2);
    while (count--) {
        const std::size_t offset = ar.GetPosition();
        bool isNew = false;
        CObject* obj = ar.ReadObject(elementClass, &isNew);
        if (!obj)
            throw CArchiveException(CArchiveException::badValue, offset, "a list holds an empty element");
        if (m_ownership == ListOwnership::names && isNew)
            ar.KeepUnowned(std::unique_ptr<CObject>(obj));
        else if (m_ownership == ListOwnership::owns && !isNew && !ar.AdoptUnowned(obj))
            throw CArchiveException(CArchiveException::badValue, offset,
                                    "one object is held by two lists, or twice by one");
        AddTail(obj);
    }
}

CObject* CObList::const_iterator::operator*() const
{
    return m_pos->data;
}

CObList::const_iterator& CObList::const_iterator::operator++()
{
    m_pos = m_pos->next;
    return *this;
}
