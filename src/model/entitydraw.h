// The three pens every entity draws with, and the mapping to logical points.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"
#include "platform/dc.h"

struct DrawScope;

// How an entity is drawn: its own pen, dotted when selected, or erased in white.
enum class DrawKind { normal, dotted, erase };

// The mapping of one drawing call: logical = (world - origin) * scale.
struct WorldMap {
    double scale;
    double ox, oy;
    // The window of the drawing pass and what nested blocks may still spend
    // in it (blockindex.h); null: each insert walks on its own, unculled.
    DrawScope* scope = nullptr;

    LPoint operator()(double x, double y) const { return WorldToLogical(x, y, scale, ox, oy); }
    LPoint operator()(const CPointd& p) const { return WorldToLogical(p.x, p.y, scale, ox, oy); }
    // A length (radius, height) in logical units, truncated toward zero.
    std::int64_t Length(double len) const { return SaturateToLogical(len * scale); }
};

// Selects the pen of kind for entity e (and the hollow brush), runs draw, and
// restores the DC. Erasing uses the white stock pen with the merge raster
// operation. Returns 0 without drawing when the pen cannot be created.
template <class Draw>
int WithEntityPen(CDC& dc, const CEntity& e, DrawKind kind, Draw&& draw)
{
    CBrush* oldBrush = dc.SelectObject(StockBrush(HOLLOW_BRUSH));
    if (kind == DrawKind::erase) {
        CPen* oldPen = dc.SelectObject(StockPen(WHITE_PEN));
        const int oldRop = dc.SetROP2(R2_MERGEPEN);
        draw();
        dc.SetROP2(oldRop);
        dc.SelectObject(oldPen);
        dc.SelectObject(oldBrush);
        return 1;
    }
    CPen pen;
    if (!pen.CreatePen(kind == DrawKind::dotted ? PS_DOT : e.m_style, e.m_width, e.m_color)) {
        dc.SelectObject(oldBrush);
        return 0;
    }
    CPen* oldPen = dc.SelectObject(&pen);
    draw();
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    return 1;
}

// Runs draw with a solid pen of the width that inverts what it covers, and
// restores the DC; nothing when the pen cannot be created.
template <class Draw>
void WithInvertingPen(CDC& dc, int width, Draw&& draw)
{
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, width, 0))
        return;
    CPen* oldPen = dc.SelectObject(&pen);
    const int oldRop = dc.SetROP2(R2_NOT);
    draw();
    dc.SetROP2(oldRop);
    dc.SelectObject(oldPen);
}

// Extrusion mode, reference point (when given) and direction, the last two
// only when the mode's low 16 bits are 1; other modes reload with the
// direction (0, 0, 1).
void SerializeExtrusion(CArchive& ar, int& mode, CPointd* refPoint, CPointd& dir);
