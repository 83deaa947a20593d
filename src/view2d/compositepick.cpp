#include "view2d/compositepick.h"

#include "model/acot.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "model/text.h"
#include "view2d/pickdist.h"
#include "view2d/snap.h"

#include <algorithm>

namespace {

// Window test of a composite: test(type, entity) answers for each part it
// knows (returning -1 for parts it ignores).
template <class Test>
bool PartsInWindow(const CObList& parts, int mode, Test&& test)
{
    bool any = false;
    for (CObject* obj : parts) {
        const auto* dib = static_cast<const CDib*>(obj);
        const int in = test(dib->m_type, dib->m_entity);
        if (in < 0)
            continue;
        any = true;
        if (mode == 0 && !in)
            return false;
        if (mode != 0 && in)
            return true;
    }
    return mode == 0 && any;
}

// The nearest of a composite's parts: dist(type, entity, d) answers with d
// for each part it knows.
template <class Dist>
double NearestPart(const CObList& parts, Dist&& dist)
{
    double best = kNoPickDist;
    for (CObject* obj : parts) {
        const auto* dib = static_cast<const CDib*>(obj);
        double d = kNoPickDist;
        if (dist(dib->m_type, dib->m_entity, d))
            best = std::min(best, d);
    }
    return best;
}

}  // namespace

double PickDistPLine(const CPLine& pl, const CPointd& p)
{
    return NearestPart(pl.m_segments, [&](int type, const CObject* e, double& d) {
        return (type == ENT_LINE && PickDistRecta(*static_cast<const CRecta*>(e), p, d)) ||
               (type == ENT_ARC && PickDistArc(*static_cast<const CArc*>(e), p, d));
    });
}

double PickDistAcot(const CAcot& dim, const CPointd& p)
{
    return NearestPart(dim.m_parts, [&](int type, const CObject* e, double& d) {
        return (type == ENT_LINE && PickDistRecta(*static_cast<const CRecta*>(e), p, d)) ||
               (type == ENT_TEXT && PickDistText(*static_cast<const CText*>(e), p, d));
    });
}

bool PLineInSelWindow(const CPLine& pl, const Pt2 (&q)[4], int mode)
{
    return PartsInWindow(pl.m_segments, mode, [&](int type, const CObject* e) {
        switch (type) {
        case ENT_LINE: return int(RectaInSelWindow(*static_cast<const CRecta*>(e), q, mode));
        case ENT_ARC: return int(ArcInSelWindow(*static_cast<const CArc*>(e), q, mode));
        default: return -1;
        }
    });
}

bool AcotInSelWindow(const CAcot& dim, const Pt2 (&q)[4], int mode)
{
    return PartsInWindow(dim.m_parts, mode, [&](int type, const CObject* e) {
        switch (type) {
        case ENT_LINE: return int(RectaInSelWindow(*static_cast<const CRecta*>(e), q, mode));
        case ENT_TEXT: return int(TextInSelWindow(*static_cast<const CText*>(e), q, mode));
        default: return -1;
        }
    });
}

bool SnapPLine(const CPLine& pl, const Pt2 (&box)[4], Pt2 p, int& type, const CObject*& part, Pt2& foot,
               double& dist)
{
    for (CObject* obj : pl.m_segments) {
        const auto* dib = static_cast<const CDib*>(obj);
        const bool hit =
            (dib->m_type == ENT_LINE && SnapRecta(*static_cast<const CRecta*>(dib->m_entity), box, p, foot, dist)) ||
            (dib->m_type == ENT_ARC && SnapArc(*static_cast<const CArc*>(dib->m_entity), box, p, dist));
        if (hit) {
            type = dib->m_type;
            part = dib->m_entity;
            return true;
        }
    }
    return false;
}

bool SnapAcot(const CAcot& dim, const Pt2 (&box)[4], Pt2 p, int& type, const CObject*& part, Pt2& foot,
              double& dist)
{
    for (CObject* obj : dim.m_parts) {
        const auto* dib = static_cast<const CDib*>(obj);
        if (dib->m_type == ENT_LINE && SnapRecta(*static_cast<const CRecta*>(dib->m_entity), box, p, foot, dist)) {
            type = ENT_LINE;
            part = dib->m_entity;
            return true;
        }
    }
    return false;
}

CRecta TdfaceEdge(const CTdface& face, int i)
{
    CRecta edge;
    edge.m_width = face.m_width;
    edge.m_style = face.m_style;
    edge.m_color = face.m_color;
    edge.m_layer = face.m_layer;
    edge.m_p1 = face.m_c[i];
    edge.m_p2 = face.m_c[(i + 1) % 4];
    return edge;
}

double PickDistTdface(const CTdface& face, const CPointd& p)
{
    double best = kNoPickDist;
    for (int i = 0; i < 4; ++i) {
        double d = kNoPickDist;
        if (PickDistRecta(TdfaceEdge(face, i), p, d))
            best = std::min(best, d);
    }
    return best;
}

bool TdfaceInSelWindow(const CTdface& face, const Pt2 (&q)[4], int mode)
{
    return SidesInSelWindow(mode, [&](int i) { return RectaInSelWindow(TdfaceEdge(face, i), q, mode); });
}

CDib* SnapTdface(const CTdface& face, const Pt2 (&box)[4], Pt2 p, Pt2& foot, double& dist)
{
    for (int i = 0; i < 4; ++i) {
        CRecta edge = TdfaceEdge(face, i);
        if (SnapRecta(edge, box, p, foot, dist)) {
            auto* line = new CRecta;
            line->Copy(edge);
            return new CDib(ENT_LINE, line);
        }
    }
    return nullptr;
}
