#include "platform/archive.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <memory>

static_assert(std::endian::native == std::endian::little, "the drawing file is little-endian");

namespace {

constexpr WORD kNullTag = 0x0000;
constexpr WORD kNewClassTag = 0xFFFF;
constexpr WORD kWideTag = 0x7FFF;
constexpr WORD kClassTagBit = 0x8000;
constexpr DWORD kWideNewBit = 0x80000000u;
constexpr DWORD kMaxIndex = 0x7FFFFFFFu;
// What an archive storing to a sink holds before it hands the bytes on.
constexpr std::size_t kSinkPiece = std::size_t(1) << 16;

}  // namespace

CArchiveException::CArchiveException(Cause cause, std::size_t offset, const std::string& message)
    : std::runtime_error("at byte " + std::to_string(offset) + ": " + message)
    , m_cause(cause)
    , m_offset(offset)
    , m_message(message)
{
}

CArchive::CArchive() : m_storing(true) {}

CArchive::CArchive(const ByteSink& sink) : m_storing(true), m_sink(&sink) {}

CArchive::CArchive(std::span<const BYTE> data) : m_storing(false), m_in(data) {}

std::vector<BYTE> CArchive::TakeData()
{
    m_out.resize(m_pos);
    m_pos = 0;
    return std::move(m_out);
}

void CArchive::Flush()
{
    if (m_sink && m_pos > 0) {
        (*m_sink)(std::span<const BYTE>(m_out.data(), m_pos));
        m_sent += m_pos;
        m_pos = 0;
    }
}

void CArchive::Fail(CArchiveException::Cause cause, const std::string& message) const
{
    throw CArchiveException(cause, GetPosition(), message);
}

void CArchive::Grow(std::size_t n)
{
    if (m_out.size() - m_pos < n)
        m_out.resize(std::max(m_out.size() * 2, m_pos + std::max<std::size_t>(n, 4096)));
}

void CArchive::Write(const void* bytes, std::size_t n)
{
    if (m_sink && m_pos + n > kSinkPiece) {
        Flush();
        // A piece larger than the buffer goes on as it is.
        if (n >= kSinkPiece) {
            (*m_sink)(std::span<const BYTE>(static_cast<const BYTE*>(bytes), n));
            m_sent += n;
            return;
        }
    }
    Grow(n);
    if (n)
        std::memcpy(m_out.data() + m_pos, bytes, n);
    m_pos += n;
}

void CArchive::Require(std::size_t n, const char* what) const
{
    if (n > m_in.size() - m_pos)
        Fail(CArchiveException::endOfFile,
             std::string("the data ends inside ") + what + " (" + std::to_string(n) + " bytes needed, " +
                 std::to_string(m_in.size() - m_pos) + " left)");
}

void CArchive::Read(void* bytes, std::size_t n)
{
    Require(n, "a record");
    if (n)
        std::memcpy(bytes, m_in.data() + m_pos, n);
    m_pos += n;
}

void CArchive::Skip(std::size_t n)
{
    Require(n, "a record");
    m_pos += n;
}

CArchive& CArchive::operator<<(BYTE v) { Write(&v, 1); return *this; }
CArchive& CArchive::operator<<(WORD v) { Write(&v, 2); return *this; }
CArchive& CArchive::operator<<(DWORD v) { Write(&v, 4); return *this; }
CArchive& CArchive::operator<<(LONG v) { Write(&v, 4); return *this; }
CArchive& CArchive::operator<<(double v) { Write(&v, 8); return *this; }
CArchive& CArchive::operator>>(BYTE& v) { Read(&v, 1); return *this; }
CArchive& CArchive::operator>>(WORD& v) { Read(&v, 2); return *this; }
CArchive& CArchive::operator>>(DWORD& v) { Read(&v, 4); return *this; }
CArchive& CArchive::operator>>(LONG& v) { Read(&v, 4); return *this; }
CArchive& CArchive::operator>>(double& v) { Read(&v, 8); return *this; }

void CArchive::ExchangeWord(int& value)
{
    if (m_storing) {
        *this << WORD(value);
        return;
    }
    WORD w;
    *this >> w;
    value = w;
}

// Length prefix: one byte below 255, 0xFF + WORD up to 65533, else 0xFF 0xFFFF + DWORD.
CArchive& CArchive::operator<<(std::string_view s)
{
    const std::size_t n = s.size();
    if (n < 0xFF) {
        *this << BYTE(n);
    } else if (n < 0xFFFE) {
        *this << BYTE(0xFF) << WORD(n);
    } else {
        if (n > std::numeric_limits<DWORD>::max() - 1)
            Fail(CArchiveException::writeFailed, "string too long to store");
        *this << BYTE(0xFF) << WORD(0xFFFF) << DWORD(n);
    }
    Write(s.data(), n);
    return *this;
}

CArchive& CArchive::operator>>(std::string& s)
{
    const std::size_t start = m_pos;
    BYTE b;
    *this >> b;
    std::size_t n = b;
    if (b == 0xFF) {
        WORD w;
        *this >> w;
        n = w;
        if (w == 0xFFFE)
            throw CArchiveException(CArchiveException::badValue, start,
                                    "a string length has the undefined form FF FEFF");
        if (w == 0xFFFF) {
            DWORD d;
            *this >> d;
            n = d;
        }
    }
    Require(n, "a string");
    s.assign(reinterpret_cast<const char*>(m_in.data() + m_pos), n);
    m_pos += n;
    return *this;
}

DWORD CArchive::NextIndex()
{
    if (m_nextIndex > kMaxIndex)
        Fail(CArchiveException::badIndex, "too many objects in one archive");
    return m_nextIndex++;
}

void CArchive::WriteTag(DWORD index, bool newObject)
{
    if (index <= kMaxShortIndex) {
        *this << WORD(newObject ? (kClassTagBit | index) : index);
    } else {
        *this << kWideTag << DWORD(newObject ? (kWideNewBit | index) : index);
    }
}

void CArchive::WriteObject(const CObject* obj)
{
    if (!obj) {
        *this << kNullTag;
        return;
    }
    if (auto it = m_storedObjects.find(obj); it != m_storedObjects.end()) {
        WriteTag(it->second, false);
        return;
    }
    const CRuntimeClass* rc = obj->GetRuntimeClass();
    if (auto it = m_storedClasses.find(rc); it != m_storedClasses.end()) {
        WriteTag(it->second, true);
    } else {
        const std::string_view name = rc->m_lpszClassName;
        *this << kNewClassTag << rc->m_wSchema << WORD(name.size());
        Write(name.data(), name.size());
        m_storedClasses.emplace(rc, NextIndex());
    }
    m_storedObjects.emplace(obj, NextIndex());
    const_cast<CObject*>(obj)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected, bool* isNew)
{
    if (isNew)
        *isNew = false;
    const std::size_t tagOffset = m_pos;
    auto failAtTag = [&](CArchiveException::Cause cause, const std::string& msg) -> CObject* {
        throw CArchiveException(cause, tagOffset, msg);
    };

    WORD tag;
    *this >> tag;
    if (tag == kNullTag)
        return nullptr;

    const CRuntimeClass* rc = nullptr;
    DWORD ref = 0;  // back reference, when not a new object
    if (tag == kNewClassTag) {
        WORD schema, length;
        *this >> schema >> length;
        Require(length, "a class name");
        std::string_view name(reinterpret_cast<const char*>(m_in.data() + m_pos), length);
        m_pos += length;
        rc = CRuntimeClass::FromName(name);
        if (!rc)
            return failAtTag(CArchiveException::badClass, "unknown class \"" + std::string(name) + "\"");
        if (rc->m_wSchema == 0xFFFF)
            return failAtTag(CArchiveException::badClass, "class " + std::string(name) + " is not storable");
        if (schema != rc->m_wSchema)
            return failAtTag(CArchiveException::badSchema, "class " + std::string(name) + " has schema " +
                                                               std::to_string(schema));
        m_loaded.push_back({rc, nullptr});
        NextIndex();
    } else {
        DWORD index = tag;
        bool newObject = false;
        if (tag == kWideTag) {
            DWORD wide;
            *this >> wide;
            newObject = (wide & kWideNewBit) != 0;
            index = wide & ~kWideNewBit;
        } else if (tag & kClassTagBit) {
            newObject = true;
            index = tag & ~kClassTagBit;
        }
        if (index == 0 || index > m_loaded.size())
            return failAtTag(CArchiveException::badIndex, "object tag names index " + std::to_string(index) +
                                                              ", which was never assigned");
        const LoadEntry& entry = m_loaded[index - 1];
        if (newObject) {
            if (entry.obj)
                return failAtTag(CArchiveException::badIndex,
                                 "index " + std::to_string(index) + " is an object, not a class");
            rc = entry.cls;
        } else {
            if (!entry.obj)
                return failAtTag(CArchiveException::badIndex,
                                 "index " + std::to_string(index) + " is a class, not an object");
            ref = index;
            rc = entry.cls;
        }
    }

    if (expected && !rc->IsDerivedFrom(expected))
        return failAtTag(CArchiveException::badClass, std::string("found ") + rc->m_lpszClassName +
                                                          " where " + expected->m_lpszClassName + " belongs");
    if (ref)
        return m_loaded[ref - 1].obj;

    std::unique_ptr<CObject> obj(rc->CreateObject());
    if (!obj)
        return failAtTag(CArchiveException::badClass,
                         std::string("class ") + rc->m_lpszClassName + " cannot be created");
    m_loaded.push_back({rc, obj.get()});
    NextIndex();
    obj->Serialize(*this);
    if (isNew)
        *isNew = true;
    return obj.release();
}

void CArchive::KeepUnowned(std::unique_ptr<CObject> obj)
{
    const CObject* key = obj.get();
    m_unowned.emplace(key, std::move(obj));
}

bool CArchive::AdoptUnowned(const CObject* obj)
{
    auto it = m_unowned.find(obj);
    if (it == m_unowned.end())
        return false;
    it->second.release();
    m_unowned.erase(it);
    return true;
}

std::vector<std::unique_ptr<CObject>> CArchive::TakeUnowned()
{
    std::vector<std::unique_ptr<CObject>> taken;
    taken.reserve(m_unowned.size());
    for (auto& [key, obj] : m_unowned)
        taken.push_back(std::move(obj));
    m_unowned.clear();
    return taken;
}

void CArchive::WriteCount(std::size_t count)
{
    if (count < 0xFFFF) {
        *this << WORD(count);
    } else {
        if (count > std::numeric_limits<DWORD>::max())
            Fail(CArchiveException::writeFailed, "list too long to store");
        *this << WORD(0xFFFF) << DWORD(count);
    }
}

std::size_t CArchive::ReadCount(std::size_t minItemBytes)
{
    WORD w;
    *this >> w;
    std::size_t count = w;
    if (w == 0xFFFF) {
        DWORD d;
        *this >> d;
        count = d;
    }
    if (minItemBytes && count > Remaining() / minItemBytes)
        Fail(CArchiveException::endOfFile,
             "a count of " + std::to_string(count) + " items does not fit in the " +
                 std::to_string(Remaining()) + " bytes left");
    return count;
}

bool StoreToFile(const std::string& path, std::size_t maxSize, const std::function<void(CArchive&)>& store,
                 std::string& error)
{
    try {
        return ReplaceFileWith(path, maxSize,
                               [&](const ByteSink& sink) {
                                   CArchive ar(sink);
                                   store(ar);
                                   ar.Flush();
                               },
                               error);
    } catch (const CArchiveException& e) {
        error = e.m_message;
        return false;
    }
}
