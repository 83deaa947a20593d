// The drawing file's byte encoding: little-endian primitives, length-prefixed
// strings, indexed objects with class records and back references, and counts.
// Loading checks every length against the bytes that remain and reports one
// CArchiveException that names the offset and what was wrong.
#pragma once

#include "platform/fileio.h"
#include "platform/object.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class CObList;

class CArchiveException : public std::runtime_error {
public:
    enum Cause {
        endOfFile,     // the data ended inside a record
        badIndex,      // an object tag names an index never assigned, or too many indices
        badClass,      // unknown class name, or an object of the wrong class
        badSchema,     // a class record whose schema differs from the class's
        badValue,      // a value no valid file holds
        writeFailed,   // storing could not be completed
    };

    CArchiveException(Cause cause, std::size_t offset, const std::string& message);

    Cause m_cause;
    std::size_t m_offset;
    std::string m_message;  // without the offset
};

class CArchive {
public:
    // Highest index the classic two-byte tags can name; larger ones use the wide escape.
    static constexpr DWORD kMaxShortIndex = 0x7FFE;

    // Storing into a buffer the archive owns.
    CArchive();
    // Storing into sink: the bytes go on in pieces as they are written, so
    // that a file is never held whole; Flush hands on the last of them.
    explicit CArchive(const ByteSink& sink);
    // Loading from bytes the caller keeps alive while the archive is in use.
    explicit CArchive(std::span<const BYTE> data);

    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_storing; }
    bool IsLoading() const { return !m_storing; }

    // Drawing files of the oldest version store points without z.
    bool IsOldFormat() const { return m_oldFormat; }
    void SetOldFormat(bool old) { m_oldFormat = old; }

    // Loading: read offset and total size; storing: bytes written so far.
    std::size_t GetPosition() const { return m_sent + m_pos; }
    std::size_t GetLength() const { return m_storing ? m_sent + m_pos : m_in.size(); }
    std::size_t Remaining() const { return m_storing ? 0 : m_in.size() - m_pos; }
    // Loading: the bytes not read yet.
    std::span<const BYTE> Rest() const { return m_storing ? std::span<const BYTE>() : m_in.subspan(m_pos); }

    // The bytes written so far (to a sink: those not handed on yet).
    std::span<const BYTE> Data() const { return {m_out.data(), m_pos}; }
    std::vector<BYTE> TakeData();
    // Storing to a sink: hands on what is held.
    void Flush();

    void Write(const void* bytes, std::size_t n);
    void Read(void* bytes, std::size_t n);
    // Passes over n bytes that must be there.
    void Skip(std::size_t n);
    // Fails unless n more bytes can be read.
    void Require(std::size_t n, const char* what) const;
    [[noreturn]] void Fail(CArchiveException::Cause cause, const std::string& message) const;

    CArchive& operator<<(BYTE v);
    CArchive& operator<<(WORD v);
    CArchive& operator<<(DWORD v);
    CArchive& operator<<(LONG v);
    CArchive& operator<<(double v);
    CArchive& operator<<(std::string_view s);
    CArchive& operator<<(const std::string& s) { return *this << std::string_view(s); }
    CArchive& operator<<(const char* s) { return *this << std::string_view(s); }

    CArchive& operator>>(BYTE& v);
    CArchive& operator>>(WORD& v);
    CArchive& operator>>(DWORD& v);
    CArchive& operator>>(LONG& v);
    CArchive& operator>>(double& v);
    CArchive& operator>>(std::string& s);

    // Stores or loads value, as the archive's direction says.
    template <class T>
    void Exchange(T& value)
    {
        if (m_storing)
            *this << value;
        else
            *this >> value;
    }
    // An int as a 16-bit word (its low 16 bits), widened without sign on load.
    void ExchangeWord(int& value);

    // Object tags: null, new class record, new object of a known class, back reference.
    void WriteObject(const CObject* obj);
    // Reads one object that must be of class expected (or derived). A new object
    // is owned by the caller; a back reference points to one read earlier.
    // isNew, when given, tells which of the two it was.
    CObject* ReadObject(const CRuntimeClass* expected, bool* isNew = nullptr);

    // Loading: an object first read where it is only named waits here until
    // an owning place takes it over; what none takes is freed with the archive
    // unless TakeUnowned hands it on.
    void KeepUnowned(std::unique_ptr<CObject> obj);
    // True when obj was waiting; it then belongs to the caller.
    bool AdoptUnowned(const CObject* obj);
    std::vector<std::unique_ptr<CObject>> TakeUnowned();

    // Element counts: a WORD, or 0xFFFF and a DWORD for 65535 and more.
    void WriteCount(std::size_t count);
    // Reads a count of items that take at least minItemBytes each.
    std::size_t ReadCount(std::size_t minItemBytes);

private:
    void WriteTag(DWORD index, bool newObject);
    void Grow(std::size_t n);
    DWORD NextIndex();

    struct LoadEntry {
        const CRuntimeClass* cls;
        CObject* obj;  // null for a class record
    };

    bool m_storing;
    bool m_oldFormat = false;
    const ByteSink* m_sink = nullptr;
    std::size_t m_sent = 0;  // bytes handed on to the sink
    std::size_t m_pos = 0;
    std::span<const BYTE> m_in;
    std::vector<BYTE> m_out;

    DWORD m_nextIndex = 1;
    std::unordered_map<const CRuntimeClass*, DWORD> m_storedClasses;
    std::unordered_map<const CObject*, DWORD> m_storedObjects;
    std::vector<LoadEntry> m_loaded;  // index k at [k - 1]
    std::unordered_map<const CObject*, std::unique_ptr<CObject>> m_unowned;
};

// Writes the file at path as store writes it on an archive that hands its
// bytes on as they come (ReplaceFileWith, so the old file stays whole on
// any failure). False, with the reason, when store fails, the file would
// pass maxSize or cannot be written.
bool StoreToFile(const std::string& path, std::size_t maxSize, const std::function<void(CArchive&)>& store,
                 std::string& error);
