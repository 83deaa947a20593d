// The points that stand for one entity in the drawing extents.
#pragma once

#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"

#include <cmath>

// Calls add(point) for each: both ends of a line; (cx ± r, cy ± r) of a circle;
// seven samples and the end of an arc (end < start gains 2π); a point; the
// corners of a text's box; the segments of a polyline; a face's four corners.
// Other kinds add none.
template <class Add>
void ForEachExtentsPoint(int type, const CObject* entity, Add&& add)
{
    switch (type) {
    case ENT_LINE: {
        auto* l = static_cast<const CRecta*>(entity);
        add(l->m_p1);
        add(l->m_p2);
        break;
    }
    case ENT_CIRCLE: {
        auto* c = static_cast<const CCirc*>(entity);
        add(CPointd(c->m_centre.x + c->m_rx, c->m_centre.y + c->m_rx));
        add(CPointd(c->m_centre.x - c->m_rx, c->m_centre.y - c->m_rx));
        break;
    }
    case ENT_ARC: {
        constexpr double kTwoPi = 6.283185307179586;
        auto* a = static_cast<const CArc*>(entity);
        double s = a->m_start, e = a->m_end;
        if (e < s)
            e += kTwoPi;
        const double step = (e - s) / 6.0;
        auto at = [&](double t) {
            return CPointd(a->m_centre.x + a->m_rx * std::cos(t), a->m_centre.y + a->m_rx * std::sin(t));
        };
        // Seven samples at the most, also for angles that are not finite.
        for (int i = 0; i <= 6 && s + i * step <= e; ++i)
            add(at(s + i * step));
        add(at(e));
        break;
    }
    case ENT_POINT: add(static_cast<const CPunt*>(entity)->m_point); break;
    case ENT_TEXT: {
        auto* t = static_cast<const CText*>(entity);
        CPointd c[4];
        t->AlignPoint(t->m_insert, c[0], c[1], c[2], c[3]);
        for (const CPointd& p : c)
            add(p);
        break;
    }
    case ENT_PLINE:
        for (CObject* obj : static_cast<const CPLine*>(entity)->m_segments) {
            auto* seg = static_cast<const CDib*>(obj);
            if (seg->m_type == ENT_LINE || seg->m_type == ENT_ARC)
                ForEachExtentsPoint(seg->m_type, seg->m_entity, add);
        }
        break;
    case ENT_3DFACE:
        for (const CPointd& c : static_cast<const CTdface*>(entity)->m_c)
            add(c);
        break;
    default: break;
    }
}
