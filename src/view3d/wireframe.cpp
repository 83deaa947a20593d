#include "view3d/wireframe.h"

#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/entitycontext.h"
#include "model/extruded.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"

namespace {

void Quad(const CPointd (&c)[4], int mask, std::vector<Edge3>& edges)
{
    for (int i = 0; i < 4; ++i)
        if (!(mask & (1 << i)))
            edges.push_back({c[i], c[(i + 1) % 4]});
}

// The path's edges, and with extrusion the raised path and the edges between.
void Band(const ExtrudedBand& band, bool extruded, std::vector<Edge3>& edges)
{
    const std::size_t n = band.base.size();
    if (n == 0)
        return;
    const std::size_t spans = band.closed ? n : n - 1;
    for (std::size_t i = 0; i < spans; ++i) {
        edges.push_back({band.base[i], band.base[(i + 1) % n]});
        if (extruded)
            edges.push_back({band.top[i], band.top[(i + 1) % n]});
    }
    for (std::size_t i = 0; extruded && i < n; ++i)
        edges.push_back({band.base[i], band.top[i]});
}

void Parts(const CObList& parts, bool skipFirstLine, const CEntityContext& drawing, std::vector<Edge3>& edges)
{
    bool skip = skipFirstLine;
    for (CObject* obj : parts) {
        const auto* dib = static_cast<const CDib*>(obj);
        if (skip && dib->m_type == ENT_LINE) {
            skip = false;  // a dimension's definition line is never drawn
            continue;
        }
        AppendEdges3D(dib->m_type, dib->m_entity, drawing, edges);
    }
}

}  // namespace

void AppendEdges3D(int type, const CObject* e, const CEntityContext& drawing, std::vector<Edge3>& edges)
{
    switch (type) {
    case ENT_LINE: {
        const auto& l = *static_cast<const CRecta*>(e);
        if (!DrawsExtruded(l.m_extrusionMode)) {
            edges.push_back({l.m_p1, l.m_p2});
            return;
        }
        CPointd c[4];
        ExtrudedFace(l, c);
        Quad(c, l.m_edgeMask, edges);
        return;
    }
    case ENT_CIRCLE: {
        const auto& c = *static_cast<const CCirc*>(e);
        Band(ExtrudedBandOf(c), DrawsExtruded(c.m_extrusionMode), edges);
        return;
    }
    case ENT_ARC: {
        const auto& a = *static_cast<const CArc*>(e);
        Band(ExtrudedBandOf(a), DrawsExtruded(a.m_extrusionMode), edges);
        return;
    }
    case ENT_POINT: {
        const CPointd& p = static_cast<const CPunt*>(e)->m_point;
        const double h = drawing.PointHeight() / 2;
        edges.push_back({CPointd(p.x - h, p.y, p.z), CPointd(p.x + h, p.y, p.z)});
        edges.push_back({CPointd(p.x, p.y - h, p.z), CPointd(p.x, p.y + h, p.z)});
        return;
    }
    case ENT_TEXT: {
        const auto& t = *static_cast<const CText*>(e);
        CPointd c[4];
        t.AlignPoint(t.m_insert, c[0], c[1], c[2], c[3]);
        for (CPointd& corner : c)
            corner.z = t.m_insert.z;
        Quad(c, 0, edges);
        return;
    }
    case ENT_PLINE: Parts(static_cast<const CPLine*>(e)->m_segments, false, drawing, edges); return;
    case ENT_DIMENSION: Parts(static_cast<const CAcot*>(e)->m_parts, true, drawing, edges); return;
    case ENT_3DFACE: {
        const auto& f = *static_cast<const CTdface*>(e);
        Quad(f.m_c, f.m_edgeMask, edges);
        return;
    }
    default: return;
    }
}
