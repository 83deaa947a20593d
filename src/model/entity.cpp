#include "model/entity.h"

#include "model/layer.h"
#include "platform/archive.h"

bool IsEntityType(int type)
{
    return EntityClassName(type) != nullptr;
}

const char* EntityClassName(int type)
{
    switch (type) {
    case ENT_LINE: return "CRecta";
    case ENT_CIRCLE: return "CCirc";
    case ENT_ARC: return "CArc";
    case ENT_POINT: return "CPunt";
    case ENT_TEXT: return "CText";
    case ENT_PLINE: return "CPLine";
    case ENT_INSERT: return "CInsBl";
    case ENT_DIMENSION: return "CAcot";
    case ENT_3DFACE: return "CTdface";
    case ENT_HATCH: return "CHatch";
    case ENT_BITMAP: return "CBmp";
    default: return nullptr;
    }
}

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
