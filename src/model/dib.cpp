#include "model/dib.h"

#include "platform/archive.h"

#include <memory>
#include <string_view>

IMPLEMENT_SERIAL(CDib, CObject, 1)

namespace {

std::int64_t g_liveElements = 0;

}  // namespace

std::uint64_t CDib::NextSerial()
{
    static std::uint64_t next = 0;
    ++g_liveElements;
    return ++next;
}

CDib::~CDib()
{
    delete m_entity;
    --g_liveElements;
}

std::int64_t CDib::LiveCount()
{
    return g_liveElements;
}

void CDib::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // The file keeps 16 bits of the type; they say which record follows.
        const WORD type = WORD(m_type);
        const char* name = EntityClassName(type);
        if (!name)
            ar.Fail(CArchiveException::writeFailed,
                    "drawing element of type " + std::to_string(m_type) + " is not a known kind");
        if (!m_entity || std::string_view(m_entity->GetRuntimeClass()->m_lpszClassName) != name)
            ar.Fail(CArchiveException::writeFailed,
                    "drawing element of type " + std::to_string(m_type) + " has no " + name);
        ar << type << WORD(m_visible) << WORD(m_flag);
        m_entity->Serialize(ar);
        return;
    }

    const std::size_t offset = ar.GetPosition();
    WORD type, visible, flag;
    ar >> type >> visible >> flag;
    m_type = type;
    m_visible = visible;
    m_flag = flag;
    const char* name = EntityClassName(type);
    if (!name)
        throw CArchiveException(CArchiveException::badValue, offset,
                                "entity type code " + std::to_string(type) + " is not a known kind");
    const CRuntimeClass* rc = CRuntimeClass::FromName(name);
    std::unique_ptr<CObject> entity(rc ? rc->CreateObject() : nullptr);
    if (!entity)
        throw CArchiveException(CArchiveException::badClass, offset,
                                std::string("entity class ") + name + " is not available");
    entity->Serialize(ar);
    m_entity = entity.release();
}
