#include "model/layer.h"

#include "platform/archive.h"

IMPLEMENT_SERIAL(CLayer, CObject, 1)

namespace {

std::string& LastLayerName()
{
    static std::string name;
    return name;
}

}  // namespace

void SetLastLayerName(std::string_view name)
{
    LastLayerName().assign(name.substr(0, kLastLayerNameMax));
}

const std::string& GetLastLayerName()
{
    return LastLayerName();
}

CLayer::CLayer(COLORREF color, int on) : m_name(GetLastLayerName()), m_color(color), m_on(on) {}

void CLayer::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_name << DWORD(m_color) << WORD(m_on);
    } else {
        WORD on;
        ar >> m_name >> m_color >> on;
        m_on = on;
    }
}
