// Grid, ortho, fixed distance and object snap of the plan view.
#include "view2d/snap.h"

#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/blockindex.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/pline.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "view2d/compositepick.h"
#include "view2d/insblpick.h"
#include "view2d/pickdist.h"
#include "view2d/rectaview.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = kPi / 2.0;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kSnapPixels = 6.0;

enum SnapModeCode : int {
    SNAP_INTERSECTION = 1,
    SNAP_END = 2,
    SNAP_MID = 3,
    SNAP_NEAREST = 4,
    SNAP_PERPENDICULAR = 5,
    SNAP_TANGENT = 6,
    SNAP_QUADRANT = 7,
    SNAP_CENTRE = 8,
    SNAP_POINT = 9,
};

constexpr const char* kSnapNames[] = {"Intersecc", "EndPoint", "MidPoint", "Nearest", "Perp",
                                      "Tang",      "Quad",     "Center of", "Point"};

// One entity met by the pick box.
struct Candidate {
    int type = 0;
    const CObject* entity = nullptr;
    Pt2 foot;  // lines: foot of the perpendicular from the pick point
    double dist = kNoPickDist;
    std::shared_ptr<const CDib> keep;  // a placed copy that entity lies in
};

// Centre, radius and angles of a circle (a full turn) or an arc.
struct Round {
    Pt2 centre;
    double r = 0.0;
    double start = 0.0;
    double end = kTwoPi;
};

bool IsRound(int type)
{
    return type == ENT_CIRCLE || type == ENT_ARC;
}

Round RoundOf(const Candidate& c)
{
    if (c.type == ENT_ARC) {
        const auto* a = static_cast<const CArc*>(c.entity);
        return {Plan(a->m_centre), a->m_rx, a->m_start, a->m_end};
    }
    const auto* circ = static_cast<const CCirc*>(c.entity);
    return {Plan(circ->m_centre), circ->m_rx};
}

bool Finite(Pt2 p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// The one of the valid points nearer to p (the first on a tie); false when neither is valid.
bool NearerValid(Pt2 p, Pt2 q1, bool ok1, Pt2 q2, bool ok2, Pt2& out)
{
    ok1 = ok1 && Finite(q1);
    ok2 = ok2 && Finite(q2);
    if (ok1 && ok2)
        out = Distance2D(q2, p) < Distance2D(q1, p) ? q2 : q1;
    else if (ok1 || ok2)
        out = ok1 ? q1 : q2;
    return ok1 || ok2;
}

bool Intersection(const Candidate& a, const Candidate& b, Pt2 p, Pt2& out)
{
    if (a.type == ENT_LINE && b.type == ENT_LINE) {
        const auto* l1 = static_cast<const CRecta*>(a.entity);
        const auto* l2 = static_cast<const CRecta*>(b.entity);
        return IntersectLines(Plan(l1->m_p1), Plan(l1->m_p2), Plan(l2->m_p1), Plan(l2->m_p2), out);
    }
    if (a.type == ENT_LINE || b.type == ENT_LINE) {
        const Candidate& lc = a.type == ENT_LINE ? a : b;
        const Candidate& rc = a.type == ENT_LINE ? b : a;
        const auto* line = static_cast<const CRecta*>(lc.entity);
        const Round c = RoundOf(rc);
        const bool arc = rc.type == ENT_ARC;
        Pt2 q1, q2;
        bool seg1, seg2, arc1, arc2;
        if (IntersectSegmentCircle(Plan(line->m_p1), Plan(line->m_p2), arc ? 3 : 1, c.start, c.end, c.centre, c.r,
                                   q1, q2, seg1, seg2, arc1, arc2) == 0)
            return false;
        return NearerValid(p, q1, seg1 && (arc1 || !arc), q2, seg2 && (arc2 || !arc), out);
    }
    const Round c1 = RoundOf(a), c2 = RoundOf(b);
    Pt2 q1, q2;
    bool f1, f2;
    const int n = IntersectCircles(3, c1.start, c1.end, c1.centre, c1.r, c2.start, c2.end, c2.centre, c2.r, q1, q2,
                                   f1, f2);
    if (n == 0)
        return false;
    return NearerValid(p, q1, f1, q2, f2 && n == 2, out);
}

Pt2 QuadrantPoint(const Round& c, Pt2 p)
{
    const double dir = Angle2D(c.centre, p);
    double a = 0.0;
    if (dir < kPi / 4.0 || dir >= 7.0 * kPi / 4.0)
        a = 0.0;
    else if (dir < 3.0 * kPi / 4.0)
        a = kHalfPi;
    else if (dir < 5.0 * kPi / 4.0)
        a = kPi;
    else
        a = 3.0 * kHalfPi;
    return Polar(c.centre, c.r, a);
}

// The point that mode takes from the chosen candidates; bandStart is null while no band shows.
bool SnappedPoint(int mode, const Candidate& first, const Candidate& second, Pt2 p, const Pt2* bandStart,
                  Pt2& out)
{
    bool ok = false;
    switch (mode) {
    case SNAP_INTERSECTION:
        ok = second.dist < kNoPickDist && Intersection(first, second, p, out);
        break;
    case SNAP_END:
        if (first.type == ENT_LINE) {
            const auto* l = static_cast<const CRecta*>(first.entity);
            const Pt2 a = Plan(l->m_p1), b = Plan(l->m_p2);
            out = Distance2D(p, a) < Distance2D(p, b) ? a : b;
            ok = true;
        } else if (first.type == ENT_ARC) {
            const auto* a = static_cast<const CArc*>(first.entity);
            const double dir = Angle2D(Plan(a->m_centre), p);
            ok = AngleInArc(a->m_start, a->m_end, dir);
            const bool nearStart = AngleBetween(dir, a->m_start) < AngleBetween(dir, a->m_end);
            out = Plan(nearStart ? a->StartPoint() : a->EndPoint());
        }
        break;
    case SNAP_MID:
        if (first.type == ENT_LINE) {
            const auto* l = static_cast<const CRecta*>(first.entity);
            out = {(l->m_p1.x + l->m_p2.x) / 2.0, (l->m_p1.y + l->m_p2.y) / 2.0};
            ok = true;
        } else if (first.type == ENT_ARC) {
            const auto* a = static_cast<const CArc*>(first.entity);
            const Pt2 c = Plan(a->m_centre);
            double end = a->m_end;
            UnwrapArcEnd(a->m_start, end);
            ok = AngleInArc(a->m_start, a->m_end, Angle2D(c, p));
            out = Polar(c, a->m_rx, a->m_start + (end - a->m_start) / 2.0);
        }
        break;
    case SNAP_NEAREST:
        ok = true;
        if (first.type == ENT_LINE) {
            out = first.foot;
        } else if (first.type == ENT_POINT) {
            out = Plan(static_cast<const CPunt*>(first.entity)->m_point);
        } else {
            const Round c = RoundOf(first);
            out = Polar(c.centre, c.r, Angle2D(c.centre, p));
        }
        break;
    case SNAP_PERPENDICULAR:
        if (bandStart && first.type == ENT_LINE) {
            const auto* l = static_cast<const CRecta*>(first.entity);
            const Pt2 a = Plan(l->m_p1), b = Plan(l->m_p2);
            ok = IntersectLines(a, b, *bandStart, Polar(*bandStart, 1.0, Angle2D(a, b) + kHalfPi), out);
        }
        break;
    case SNAP_TANGENT:
        if (bandStart && IsRound(first.type)) {
            const Round c = RoundOf(first);
            Pt2 t1, t2;
            const int n = TangentPointsFromPoint(*bandStart, c.centre, c.r, t1, t2);
            ok = n > 0;
            out = n == 1 || Distance2D(p, t1) < Distance2D(p, t2) ? t1 : t2;
        }
        break;
    case SNAP_QUADRANT:
        if (first.type == ENT_CIRCLE) {
            out = QuadrantPoint(RoundOf(first), p);
            ok = true;
        }
        break;
    case SNAP_CENTRE:
        if (IsRound(first.type)) {
            out = RoundOf(first).centre;
            ok = true;
        }
        break;
    case SNAP_POINT:
        if (first.type == ENT_POINT) {
            out = Plan(static_cast<const CPunt*>(first.entity)->m_point);
            ok = true;
        }
        break;
    default: break;
    }
    return ok;
}

}  // namespace

void SnapToGrid(CPointd& p, double step)
{
    if (!(step > 0.0) || !std::isfinite(step))
        return;
    auto snap = [step](double& c) {
        const double v = std::floor(c / step + 0.5) * step;
        if (std::isfinite(v))
            c = v;
    };
    snap(p.x);
    snap(p.y);
}

namespace {

// Whether bounds xlo..xhi, ylo..yhi can touch the snap box: a cheap test before the exact ones.
bool BoundsMeetBox(double xlo, double ylo, double xhi, double yhi, const Pt2 (&box)[4])
{
    const double bxlo = std::min(box[0].x, box[2].x), bxhi = std::max(box[0].x, box[2].x);
    const double bylo = std::min(box[0].y, box[2].y), byhi = std::max(box[0].y, box[2].y);
    return !(xhi < bxlo || xlo > bxhi || yhi < bylo || ylo > byhi);
}

// Whether a circle can cross the snap box: its bounds meet the box and the box is not wholly inside it.
bool CircleMayCrossBox(Pt2 c, double r, const Pt2 (&box)[4])
{
    if (!BoundsMeetBox(c.x - r, c.y - r, c.x + r, c.y + r, box))
        return false;
    for (const Pt2& corner : box)
        if (Distance2D(corner, c) >= r)
            return true;
    return false;
}

}  // namespace

bool SnapRecta(const CRecta& line, const Pt2 (&box)[4], Pt2 p, Pt2& foot, double& dist)
{
    const double x1 = box[0].x, y1 = box[2].y, x2 = box[2].x, y2 = box[0].y;
    const Pt2 a = Plan(line.m_p1), b = Plan(line.m_p2);
    if (!BoundsMeetBox(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y), box))
        return false;
    if (!line.IsInRect(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)) ||
        !IntersectSegmentQuad(1, box[0], box[1], box[2], box[3], a, b))
        return false;
    Pt2 f;
    if (!IntersectLines(a, b, p, Polar(p, 1.0, Angle2D(a, b) + kHalfPi), f) || !Finite(f))
        return false;
    foot = f;
    dist = Distance2D(p, f);
    return true;
}

bool SnapCirc(const CCirc& circ, const Pt2 (&box)[4], Pt2 p, double& dist)
{
    const Pt2 c = Plan(circ.m_centre);
    if (!CircleMayCrossBox(c, circ.m_rx, box) ||
        !ArcCrossesQuad(1, box[0], box[1], box[2], box[3], c, circ.m_rx, 0.0, kTwoPi, false))
        return false;
    dist = std::fabs(Distance2D(p, c) - circ.m_rx);
    return true;
}

bool SnapArc(const CArc& arc, const Pt2 (&box)[4], Pt2 p, double& dist)
{
    const Pt2 c = Plan(arc.m_centre);
    if (!CircleMayCrossBox(c, arc.m_rx, box) ||
        !ArcCrossesQuad(1, box[0], box[1], box[2], box[3], c, arc.m_rx, arc.m_start, arc.m_end, true))
        return false;
    dist = std::fabs(Distance2D(p, c) - arc.m_rx);
    return true;
}

void CRectaView::ApplyOrtho(double sx, double sy, double& px, double& py) const
{
    const double dirs[4] = {m_refAngle, m_refAngle + kHalfPi, m_refAngle + kPi, m_refAngle + 3.0 * kHalfPi};
    const double d = Angle2D(sx, sy, px, py);
    const double r = Distance2D(sx, px, sy, py);
    double best = dirs[0];
    double bestGap = AngleBetween(dirs[0], d);
    for (int i = 1; i < 4; ++i) {
        const double gap = AngleBetween(dirs[i], d);
        if (gap < bestGap) {
            bestGap = gap;
            best = dirs[i];
        }
    }
    px = PolarX(sx, r, best);
    py = PolarY(sy, r, best);
}

void CRectaView::ApplyDistance(CPointd& p)
{
    if (m_bandState != 1 && m_refPointState == 0)
        return;
    m_refPointState = 2;
    const double a = Angle2D(m_bandStart.x, m_bandStart.y, p.x, p.y);
    p.x = PolarX(m_bandStart.x, m_fixedDistance, a);
    p.y = PolarY(m_bandStart.y, m_fixedDistance, a);
}

int CRectaView::OnEditPoint(CPointd& p)
{
    const int mode = m_snapMode;
    if (mode < SNAP_INTERSECTION || mode > SNAP_POINT) {
        m_snapMode = 0;
        return 0;
    }
    std::string name = kSnapNames[mode - 1];
    name.resize(20, ' ');
    ShowPrompt(0, name);
    if (!ScaleUsable())
        return 0;

    const Pt2 pp = Plan(p);
    const double t = kSnapPixels / m_scale;
    if (!Finite(pp) || !std::isfinite(t))
        return 0;
    const Pt2 box[4] = {{pp.x - t, pp.y + t}, {pp.x + t, pp.y + t}, {pp.x + t, pp.y - t}, {pp.x - t, pp.y - t}};

    Candidate first, second;
    const CRectaDoc* doc = GetDocument();
    std::vector<CElementPtr> edges;  // face edges a candidate may point at
    // A candidate kept takes over the placed copy it points into, if any.
    auto offer = [&](Candidate& c, CElementPtr* placed) {
        if (mode == SNAP_INTERSECTION && c.type != ENT_LINE && !IsRound(c.type))
            return;
        const bool nearest = c.dist < first.dist;
        if (!nearest && !(mode == SNAP_INTERSECTION && c.dist < second.dist))
            return;
        if (placed && *placed)
            c.keep = std::shared_ptr<const CDib>(std::move(*placed));
        if (nearest) {
            if (mode == SNAP_INTERSECTION)
                second = first;
            first = c;
        } else {
            second = c;
        }
    };
    auto consider = [&](int type, const CObject* entity, CElementPtr* placed) {
        Candidate c;
        c.type = type;
        c.entity = entity;
        bool hit = false;
        switch (c.type) {
        case ENT_LINE:
            hit = mode <= SNAP_PERPENDICULAR &&
                  SnapRecta(*static_cast<const CRecta*>(c.entity), box, pp, c.foot, c.dist);
            break;
        case ENT_CIRCLE:
            hit = mode != SNAP_PERPENDICULAR && mode != SNAP_POINT &&
                  SnapCirc(*static_cast<const CCirc*>(c.entity), box, pp, c.dist);
            break;
        case ENT_ARC:
            hit = mode != SNAP_PERPENDICULAR && mode != SNAP_POINT &&
                  SnapArc(*static_cast<const CArc*>(c.entity), box, pp, c.dist);
            break;
        case ENT_POINT: {
            const Pt2 q = Plan(static_cast<const CPunt*>(c.entity)->m_point);
            hit = (mode == SNAP_NEAREST || mode == SNAP_POINT) &&
                  PointInRect(q, pp.x - t, pp.y - t, pp.x + t, pp.y + t);
            c.dist = Distance2D(pp, q);
            break;
        }
        case ENT_PLINE:  // the segment hit becomes the candidate
            hit = mode <= SNAP_PERPENDICULAR &&
                  SnapPLine(*static_cast<const CPLine*>(c.entity), box, pp, c.type, c.entity, c.foot, c.dist);
            break;
        case ENT_DIMENSION:
            hit = SnapAcot(*static_cast<const CAcot*>(c.entity), box, pp, c.type, c.entity, c.foot, c.dist);
            break;
        case ENT_3DFACE:  // the edge hit becomes the candidate, as a line kept in edges
            if (mode <= SNAP_PERPENDICULAR) {
                if (CDib* edge = SnapTdface(*static_cast<const CTdface*>(c.entity), box, pp, c.foot, c.dist)) {
                    edges.emplace_back(edge);
                    c.type = ENT_LINE;
                    c.entity = edge->m_entity;
                    hit = true;
                }
            }
            break;
        default: break;
        }
        if (hit)
            offer(c, placed);
    };
    // Inside an insert the placed pieces count one at a time, each freed
    // unless a candidate points into it; a polyline's or dimension's pieces
    // count as its segments, the first that hits alone. Nested blocks spend
    // from one allowance for the click.
    NestedWork work;
    bool ownerHit = false;
    auto considerPiece = [&](PlacedPart& part) {
        if (part.first)
            ownerHit = false;
        const int type = part.element->m_type;
        if (part.ownerType != ENT_PLINE && part.ownerType != ENT_DIMENSION) {
            consider(type, part.element->m_entity, &part.element);
            return;
        }
        if (ownerHit || (part.ownerType == ENT_PLINE && mode > SNAP_PERPENDICULAR) || type == ENT_TEXT)
            return;
        Candidate c;
        c.type = type;
        c.entity = part.element->m_entity;
        if (type == ENT_LINE ? SnapRecta(*static_cast<const CRecta*>(c.entity), box, pp, c.foot, c.dist)
                             : SnapArc(*static_cast<const CArc*>(c.entity), box, pp, c.dist)) {
            ownerHit = true;
            offer(c, &part.element);
        }
    };
    for (POSITION pos = doc->GetFirstEntityPosition(); pos;) {
        const CDib* dib = doc->GetEntityRecord(pos);
        doc->GetEntityList().GetNext(pos);
        if (dib->m_visible != 1 || dib->m_flag != 1)
            continue;
        if (dib->m_type != ENT_INSERT)
            consider(dib->m_type, dib->m_entity, nullptr);
        else
            WalkSnapPieces(*doc, *static_cast<const CInsBl*>(dib->m_entity), box, work, considerPiece);
    }
    if (work.cut)
        ShowPrompt(2, kNestedWorkMessage);
    if (!(first.dist < kNoPickDist))
        return 0;

    Pt2 out;
    const Pt2 start = Plan(m_bandStart);
    if (!SnappedPoint(mode, first, second, pp, m_bandState == 1 ? &start : nullptr, out) || !Finite(out))
        return 0;
    p.x = out.x;
    p.y = out.y;
    return 1;
}
