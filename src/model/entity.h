// What every entity class shares: the entity type codes, the pen header and
// the extrusion modes. Behaviour that varies by kind is reached by type code
// through EntityKind (entitykind.h).
#pragma once

#include "platform/object.h"

#include <string>
#include <string_view>

class CArchive;

enum EntityType : int {
    ENT_LINE = 1,       // CRecta
    ENT_CIRCLE = 2,     // CCirc
    ENT_ARC = 3,        // CArc
    ENT_POINT = 4,      // CPunt
    ENT_TEXT = 5,       // CText
    ENT_PLINE = 6,      // CPLine
    ENT_INSERT = 7,     // CInsBl
    ENT_DIMENSION = 8,  // CAcot
    ENT_3DFACE = 11,    // CTdface
    ENT_HATCH = 21,     // CHatch
    ENT_BITMAP = 22,    // CBmp
};

// True for the eleven codes that name an entity class (entitykind.cpp).
bool IsEntityType(int type);
// Class name of an entity type code, or null for any other code.
const char* EntityClassName(int type);

enum ExtrusionMode : int {
    EXTRUSION_FLAT = 0,   // drawn as its 2D outline
    EXTRUSION_THICK = 1,  // extruded along its direction
    EXTRUSION_OCS = 2,    // in an object coordinate system; drawn as flat
};

// Every mode but flat and the object coordinate system draws extruded.
inline bool DrawsExtruded(int mode)
{
    return mode != EXTRUSION_FLAT && mode != EXTRUSION_OCS;
}

// The pen header at the start of every entity: width, style, colour, layer.
class CEntity : public CObject {
public:
    void SetColor(COLORREF color) { m_color = color; }

    int m_width = 0;
    int m_style = 0;  // 0 solid, 1 dash, 2 dot, 3 dash-dot
    COLORREF m_color = 0;
    std::string m_layer;

protected:
    CEntity() = default;
    // Style 0; the layer name is also kept as the last layer name.
    CEntity(int width, COLORREF color, std::string_view layer);

    // width and style as WORDs, colour as DWORD (words widened without sign on load).
    void SerializePen(CArchive& ar);
};
