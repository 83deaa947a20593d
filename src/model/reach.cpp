#include "model/reach.h"

#include "model/acot.h"
#include "model/bmp.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/hatch.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"

#include <algorithm>
#include <cmath>

namespace {

void AddPoint(PlacedReach& reach, const CPointd& p)
{
    reach.box.Add(p.x, p.y);
    // A coordinate that is not a number leaves the box as it was: mark it.
    if (std::isnan(p.x) || std::isnan(p.y))
        reach.pad = NAN;
}

void AddPad(PlacedReach& reach, double pad)
{
    pad = std::fabs(pad);
    if (std::isnan(pad) || pad > reach.pad)
        reach.pad = pad;
}

// The parts of a polyline or dimension, each by its own kind.
void AddParts(const CObList& parts, PlacedReach& reach)
{
    for (const CObject* obj : parts) {
        const auto* dib = static_cast<const CDib*>(obj);
        if (!dib->m_entity)
            continue;
        switch (dib->m_type) {
        case ENT_LINE: AddPlacedReach(*static_cast<const CRecta*>(dib->m_entity), reach); break;
        case ENT_ARC: AddPlacedReach(*static_cast<const CArc*>(dib->m_entity), reach); break;
        case ENT_TEXT: AddPlacedReach(*static_cast<const CText*>(dib->m_entity), reach); break;
        default: break;
        }
    }
}

}  // namespace

bool PlacedReach::Bounded() const
{
    return box.Bounded() && std::isfinite(pad);
}

void AddPlacedReach(const CRecta& line, PlacedReach& reach)
{
    AddPoint(reach, line.m_p1);
    AddPoint(reach, line.m_p2);
}

void AddPlacedReach(const CCirc& circle, PlacedReach& reach)
{
    AddPoint(reach, circle.m_centre);
    AddPad(reach, std::max(std::fabs(circle.m_rx), std::fabs(circle.m_ry)));
}

void AddPlacedReach(const CArc& arc, PlacedReach& reach)
{
    AddPoint(reach, arc.m_centre);
    AddPad(reach, std::max(std::fabs(arc.m_rx), std::fabs(arc.m_ry)));
}

void AddPlacedReach(const CPunt& point, PlacedReach& reach)
{
    AddPoint(reach, point.m_point);
    reach.marker = true;
}

void AddPlacedReach(const CText& text, PlacedReach& reach)
{
    AddPoint(reach, text.m_insert);
    CPointd c[4];
    text.AlignPoint(text.m_insert, c[0], c[1], c[2], c[3]);
    for (const CPointd& corner : c)
        AddPad(reach, std::hypot(corner.x - text.m_insert.x, corner.y - text.m_insert.y));
}

void AddPlacedReach(const CPLine& pline, PlacedReach& reach)
{
    AddParts(pline.m_segments, reach);
}

void AddPlacedReach(const CAcot& dim, PlacedReach& reach)
{
    AddParts(dim.m_parts, reach);
}

void AddPlacedReach(const CTdface& face, PlacedReach& reach)
{
    for (const CPointd& c : face.m_c)
        AddPoint(reach, c);
}

void AddPlacedReach(const CHatch& hatch, PlacedReach& reach)
{
    AddPoint(reach, hatch.m_seed);
    reach.marker = true;
}

void AddPlacedReach(const CBmp& bmp, PlacedReach& reach)
{
    AddPoint(reach, bmp.m_corner);
    AddPad(reach, std::hypot(bmp.m_w, bmp.m_h));
}
