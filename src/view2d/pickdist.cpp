#include "view2d/pickdist.h"

#include "model/circ.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

double RadialDist(const CPointd& centre, double r, const CPointd& p)
{
    return std::fabs(Distance2D(Plan(centre), Plan(p)) - r);
}

bool SegmentInWindow(const CPointd& a, const CPointd& b, const Pt2 (&q)[4], int mode)
{
    return IntersectSegmentQuad(mode, q[0], q[1], q[2], q[3], Plan(a), Plan(b));
}

}  // namespace

bool PickDistRecta(const CRecta& line, const CPointd& p, double& dist)
{
    const Pt2 a = Plan(line.m_p1), b = Plan(line.m_p2), c = Plan(p);
    const Pt2 d = Polar(c, 1.0, Angle2D(a, b) + std::numbers::pi / 2.0);
    Pt2 foot;
    if (!IntersectSegments(a, b, c, d, foot))
        return false;
    dist = Distance2D(c, foot);
    return true;
}

double PickDistCirc(const CCirc& circ, const CPointd& p)
{
    return RadialDist(circ.m_centre, circ.m_rx, p);
}

bool PickDistArc(const CArc& arc, const CPointd& p, double& dist)
{
    if (!AngleInArc(arc.m_start, arc.m_end, Angle2D(Plan(arc.m_centre), Plan(p))))
        return false;
    dist = RadialDist(arc.m_centre, arc.m_rx, p);
    return true;
}

double PickDistPunt(const CPunt& punt, const CPointd& p)
{
    return Distance2D(Plan(punt.m_point), Plan(p));
}

bool PickDistText(const CText& text, const CPointd& p, double& dist)
{
    CPointd c[4];
    text.AlignPoint(text.m_insert, c[0], c[1], c[2], c[3]);
    if (!PointInQuad(Plan(c[0]), Plan(c[1]), Plan(c[2]), Plan(c[3]), Plan(p)))
        return false;
    dist = 0.0;
    return true;
}

bool RectaInSelWindow(const CRecta& line, const Pt2 (&q)[4], int mode)
{
    return SegmentInWindow(line.m_p1, line.m_p2, q, mode);
}

bool CircInSelWindow(const CCirc& circ, const Pt2 (&q)[4], int mode)
{
    return ArcCrossesQuad(mode, q[0], q[1], q[2], q[3], Plan(circ.m_centre), circ.m_rx, 0.0, kTwoPi, false);
}

bool ArcInSelWindow(const CArc& arc, const Pt2 (&q)[4], int mode)
{
    return ArcCrossesQuad(mode, q[0], q[1], q[2], q[3], Plan(arc.m_centre), arc.m_rx, arc.m_start, arc.m_end, true);
}

bool PuntInSelWindow(const CPunt& punt, const Pt2 (&q)[4], int)
{
    return HeldInSelWindow(punt, punt.m_point, q);
}

bool TextInSelWindow(const CText& text, const Pt2 (&q)[4], int mode)
{
    CPointd c[4];
    text.AlignPoint(text.m_insert, c[0], c[1], c[2], c[3]);
    return SidesInSelWindow(mode, [&](int i) { return SegmentInWindow(c[i], c[(i + 1) % 4], q, mode); });
}
