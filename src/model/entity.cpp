#include "model/entity.h"

#include "model/layer.h"
#include "platform/archive.h"

CEntity::CEntity(int width, COLORREF color, std::string_view layer)
    : m_width(width), m_style(0), m_color(color), m_layer(layer)
{
    SetLastLayerName(layer);
}

void CEntity::SerializePen(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << WORD(m_width) << WORD(m_style) << DWORD(m_color);
    } else {
        WORD width, style;
        ar >> width >> style >> m_color;
        m_width = width;
        m_style = style;
    }
}
