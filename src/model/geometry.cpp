#include "model/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = std::numbers::pi / 2.0;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Tolerances; each function uses exactly one of them.
constexpr double kTol = 0.0001;           // segments, arcs, rectangles
constexpr double kLineParallel = 0.0004;  // IntersectLines
constexpr double kCircleLine = 0.00001;   // line direction in IntersectSegmentCircle

bool InTurn(double a) { return a >= 0.0 && a <= kTwoPi; }

// Angle taken modulo 2pi into [0, 2pi]; values already there (and NaN/inf) pass unchanged.
double WrapTurn(double a)
{
    if (InTurn(a) || !std::isfinite(a))
        return a;
    double r = std::fmod(a, kTwoPi);
    if (r < 0.0)
        r += kTwoPi;
    return r;
}

// Sweep of the arc start->end, in [0, 2pi]: negative spans are wrapped, spans past a full turn cut to one.
double ArcSpan(double start, double end)
{
    double span = end - start;
    if (span < 0.0)
        span = WrapTurn(span);
    else if (span > kTwoPi)
        span = kTwoPi;
    return span;
}

// Angle lifted into the unwrapped frame [s, e] of an arc.
double LiftIntoArc(double e, double angle)
{
    double a = WrapTurn(angle);
    if (e > kTwoPi && a <= e - kTwoPi)
        a += kTwoPi;
    return a;
}

bool Finite(Pt2 p) { return std::isfinite(p.x) && std::isfinite(p.y); }

// Shared core of IntersectSegments and IntersectLines. May nudge b (the caller's copy).
enum class Cut { Parallel, AxisPair, Sloped };

Cut CutLines(Pt2 a, Pt2& b, Pt2 c, Pt2 d, double parallelTol, Pt2& out)
{
    if (std::fabs(b.x - a.x) > kTol) {
        if (std::fabs(b.y - a.y) > kTol) {
            if (c.x == d.x)
                d.x = c.x + kTol;
        } else {
            if (std::fabs(c.y - d.y) <= kTol)
                return Cut::Parallel;
            if (std::fabs(c.x - d.x) <= kTol) {
                out = {c.x, a.y};
                return Cut::AxisPair;
            }
            b.y = a.y + kTol;
        }
    } else {
        if (std::fabs(c.x - d.x) <= kTol)
            return Cut::Parallel;
        if (std::fabs(c.y - d.y) <= kTol) {
            out = {a.x, c.y};
            return Cut::AxisPair;
        }
        b.x = a.x + kTol;
    }
    const double m1 = (b.y - a.y) / (b.x - a.x);
    const double m2 = (d.y - c.y) / (d.x - c.x);
    const double b1 = a.y - m1 * a.x;
    const double b2 = c.y - m2 * c.x;
    if (std::fabs(m1 - m2) < parallelTol)
        return Cut::Parallel;
    const double x = (b2 - b1) / (m1 - m2);
    out = {x, x * m1 + b1};
    return Cut::Sloped;
}

// Points where segment-or-line P-Q meets the sides of a quad; the count may exceed 2.
int CutQuadSides(const Pt2 (&c)[4], Pt2 p, Pt2 q, Pt2 (&hits)[2])
{
    int n = 0;
    for (int i = 0; i < 4; ++i) {
        Pt2 pt;
        if (IntersectSegments(c[i], c[(i + 1) % 4], p, q, pt)) {
            if (n < 2)
                hits[n] = pt;
            ++n;
        }
    }
    return n;
}

bool StrictlyBetween(Pt2 p, Pt2 s, Pt2 t)
{
    const double len = Distance2D(s, t);
    return Distance2D(p, s) < len && Distance2D(p, t) < len;
}

} // namespace

// ---- distances and angles -------------------------------------------------

double Distance2D(double x1, double x2, double y1, double y2)
{
    const double dx = x1 - x2, dy = y1 - y2;
    // The plain sum while it holds; hypot where the squares overflow or underflow.
    const double sum = dx * dx + dy * dy;
    if (sum >= std::numeric_limits<double>::min() && sum <= std::numeric_limits<double>::max())
        return std::sqrt(sum);
    return std::hypot(dx, dy);
}

double Distance2D(Pt2 a, Pt2 b) { return Distance2D(a.x, b.x, a.y, b.y); }

double Angle2D(double x1, double y1, double x2, double y2)
{
    if (x2 == x1)
        x2 = x1 + kTol;
    if (y2 == y1)
        y2 = y1 + kTol;
    const double dx = x2 - x1;
    const double dy = y2 - y1;
    if (!(dx != 0.0 && dy != 0.0))  // nudge lost in huge coordinates, or NaN
        return 0.0;
    const double t = std::atan(std::fabs(dy) / std::fabs(dx));
    if (dx > 0.0 && dy > 0.0)
        return t;
    if (dx < 0.0 && dy > 0.0)
        return kHalfPi - t + kHalfPi;
    if (dx < 0.0 && dy < 0.0)
        return t + kPi;
    if (dx > 0.0 && dy < 0.0)
        return kHalfPi - t + 3.0 * kPi / 2.0;
    return 0.0;
}

double Angle2D(Pt2 from, Pt2 to) { return Angle2D(from.x, from.y, to.x, to.y); }

double Bearing(Pt2 from, Pt2 to)
{
    const double dx = to.x - from.x, dy = to.y - from.y;
    if (dx == 0.0 && dy == 0.0)
        return 0.0;
    const double angle = std::atan2(dy, dx);
    if (angle >= 0.0)
        return angle;
    // A tiny negative angle would round up to exactly 2pi.
    const double wrapped = angle + kTwoPi;
    return wrapped < kTwoPi ? wrapped : 0.0;
}

double DegToRad(double degrees) { return degrees * kPi / 180.0; }
double RadToDeg(double radians) { return radians * 180.0 / kPi; }
double PolarX(double x, double r, double a) { return x + r * std::cos(a); }
double PolarY(double y, double r, double a) { return y + r * std::sin(a); }
Pt2 Polar(Pt2 p, double r, double a) { return {PolarX(p.x, r, a), PolarY(p.y, r, a)}; }

Pt2 LogicalToWorld(int x, int y, double scale, double ox, double oy)
{
    return {x / scale + ox, y / scale + oy};
}



// ---- intersections and containment ----------------------------------------

bool IntersectSegments(Pt2 a, Pt2 b, Pt2 c, Pt2 d, Pt2& out)
{
    Pt2 pt;
    if (CutLines(a, b, c, d, kTol, pt) == Cut::Parallel)
        return false;
    out = pt;
    return OnSegment(pt, a, b);
}

bool IntersectLines(Pt2 a, Pt2 b, Pt2 c, Pt2 d, Pt2& out)
{
    Pt2 pt;
    if (CutLines(a, b, c, d, kLineParallel, pt) == Cut::Parallel)
        return false;
    out = pt;
    return true;
}

bool IntersectCarriers(Pt2 a, Pt2 b, Pt2 c, Pt2 d, Pt2& out)
{
    const Pt2 u{b.x - a.x, b.y - a.y};
    const Pt2 v{d.x - c.x, d.y - c.y};
    const double lu = std::hypot(u.x, u.y), lv = std::hypot(v.x, v.y);
    if (!(lu > 0.0) || !(lv > 0.0))
        return false;
    const double cross = u.x * v.y - u.y * v.x;
    // The sine of the angle between them, against the angle itself.
    if (!(std::fabs(cross / (lu * lv)) >= kTol))
        return false;
    const double t = ((c.x - a.x) * v.y - (c.y - a.y) * v.x) / cross;
    const Pt2 pt{a.x + t * u.x, a.y + t * u.y};
    if (!Finite(pt))
        return false;
    out = pt;
    return true;
}

bool FootParameter(Pt2 p, Pt2 a, Pt2 b, double& t)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    if (!(len2 > 0.0))
        return false;
    t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
    return true;
}

bool OnSegment(Pt2 p, Pt2 a, Pt2 b)
{
    const double len = Distance2D(a, b);
    return Distance2D(p, a) <= len + kTol && Distance2D(p, b) <= len + kTol;
}

bool IntersectSegmentQuad(int variant, Pt2 c1, Pt2 c2, Pt2 c3, Pt2 c4, Pt2 p, Pt2 q)
{
    // Wholly inside a convex quad: both ends are, whatever the segment's length.
    // The line through two ends closer than the tolerance has no direction to
    // meet the sides by: such a segment overlaps where an end lies inside.
    if (variant == 0)
        return PointInQuad(c1, c2, c3, c4, p) && PointInQuad(c1, c2, c3, c4, q);
    if (std::fabs(q.x - p.x) <= kTol && std::fabs(q.y - p.y) <= kTol)
        return PointInQuad(c1, c2, c3, c4, p) || PointInQuad(c1, c2, c3, c4, q);
    const Pt2 corners[4] = {c1, c2, c3, c4};
    Pt2 hits[2];
    if (CutQuadSides(corners, p, q, hits) != 2)
        return false;
    const Pt2 s = hits[0];
    const Pt2 t = hits[1];
    return StrictlyBetween(p, s, t) || StrictlyBetween(q, s, t) || StrictlyBetween(s, p, q) ||
           StrictlyBetween(t, p, q);
}

bool PointInQuad(Pt2 c1, Pt2 c2, Pt2 c3, Pt2 c4, Pt2 p)
{
    const Pt2 corners[4] = {c1, c2, c3, c4};
    Pt2 hits[2];
    if (CutQuadSides(corners, p, {p.x + 1.0, p.y}, hits) != 2)
        return false;
    const double len = Distance2D(hits[0], hits[1]);
    return Distance2D(p, hits[0]) <= len && Distance2D(p, hits[1]) <= len;
}

int IntersectSegmentCircle(Pt2 a, Pt2 b, int mode, double start, double end, Pt2 centre, double r, Pt2& p1, Pt2& p2,
                           bool& seg1, bool& seg2, bool& arc1, bool& arc2)
{
    seg1 = seg2 = arc1 = arc2 = false;
    const double cx = centre.x;
    const double cy = centre.y;
    const bool vertical = std::fabs(a.x - b.x) < kCircleLine;
    const bool horizontal = std::fabs(a.y - b.y) < kCircleLine;
    Pt2 q1;
    Pt2 q2;
    if (vertical) {
        const double bb = -2.0 * cy;
        const double cc = cy * cy + (a.x - cx) * (a.x - cx) - r * r;
        const double disc = bb * bb - 4.0 * cc;
        if (!(disc >= 0.0))
            return 0;
        q1 = {a.x, (std::sqrt(disc) - bb) / 2.0};
        q2 = {a.x, (-bb - std::sqrt(disc)) / 2.0};
    }
    if (horizontal) {
        const double bb = -2.0 * cx;
        const double cc = cx * cx + (a.y - cy) * (a.y - cy) - r * r;
        const double disc = bb * bb - 4.0 * cc;
        if (!(disc >= 0.0))
            return 0;
        q1 = {(std::sqrt(disc) - bb) / 2.0, a.y};
        q2 = {(-bb - std::sqrt(disc)) / 2.0, a.y};
    }
    if (!vertical && !horizontal) {
        const double m = (b.y - a.y) / (b.x - a.x);
        const double q = a.y - m * a.x;
        const double aa = m * m + 1.0;
        const double bb = 2.0 * m * q - 2.0 * cx - 2.0 * m * cy;
        const double cc = cy * cy + cx * cx + q * q - 2.0 * q * cy - r * r;
        const double disc = bb * bb - 4.0 * aa * cc;
        if (!(disc >= 0.0))
            return 0;
        q1.x = (std::sqrt(disc) - bb) / (2.0 * aa);
        q2.x = (-bb - std::sqrt(disc)) / (2.0 * aa);
        q1.y = m * q1.x + q;
        q2.y = m * q2.x + q;
    }
    p1 = q1;
    p2 = q2;
    if (mode == 1 || mode == 3) {
        seg1 = OnSegment(q1, a, b);
        seg2 = OnSegment(q2, a, b);
    }
    if (mode == 2 || mode == 3) {
        arc1 = AngleInArc(start, end, Angle2D(centre, q1));
        arc2 = AngleInArc(start, end, Angle2D(centre, q2));
    }
    return 2;
}

bool ArcCrossesQuad(int onCrossing, Pt2 c1, Pt2 c2, Pt2 c3, Pt2 c4, Pt2 centre, double r, double start, double end,
                    bool isArc)
{
    const Pt2 corners[4] = {c1, c2, c3, c4};
    for (int i = 0; i < 4; ++i) {
        Pt2 p1;
        Pt2 p2;
        bool seg1, seg2, arc1, arc2;
        IntersectSegmentCircle(corners[i], corners[(i + 1) % 4], 3, start, end, centre, r, p1, p2, seg1, seg2, arc1,
                               arc2);
        if ((seg1 && arc1) || (seg2 && arc2))
            return onCrossing >= 1;
    }
    // Nothing crosses: the figure is either wholly inside or wholly outside.
    const Pt2 from = Polar(centre, r, start);
    Pt2 to = centre;
    if (isArc) {
        const Pt2 e = Polar(centre, r, end);
        if (e.x != from.x || e.y != from.y)
            to = e;
    }
    return IntersectSegmentQuad(0, c1, c2, c3, c4, from, to);
}

int IntersectCircles(int mode, double start1, double end1, Pt2 c1, double r1, double start2, double end2, Pt2 c2,
                     double r2, Pt2& p1, Pt2& p2, bool& flag1, bool& flag2)
{
    flag1 = flag2 = false;
    const double d = Distance2D(c1, c2);
    if (!(d > 0.0))
        return 0;
    const double k = (d * d + r1 * r1 - r2 * r2) / (2.0 * d * r1);
    if (!std::isfinite(k) || k > 1.0 || k < -1.0)
        return 0;
    const double base = Bearing(c1, c2);
    const double t = std::acos(k);
    const Pt2 q1 = Polar(c1, r1, base + t);
    const Pt2 q2 = Polar(c1, r1, base - t);
    if (!Finite(q1) || !Finite(q2))
        return 0;
    p1 = q1;
    p2 = q2;
    auto onFirst = [&](Pt2 p) { return AngleInArc(start1, end1, Angle2D(c1, p)); };
    auto onSecond = [&](Pt2 p) { return AngleInArc(start2, end2, Angle2D(c2, p)); };
    if (mode == 1) {
        flag1 = onFirst(q1);
        flag2 = onFirst(q2);
    } else if (mode == 2) {
        flag1 = onSecond(q1);
        flag2 = onSecond(q2);
    } else if (mode == 3) {
        flag1 = onFirst(q1) && onSecond(q1);
        flag2 = onFirst(q2) && onSecond(q2);
    }
    return k == 1.0 ? 1 : 2;
}

int TangentPointsFromPoint(Pt2 p, Pt2 centre, double r, Pt2& t1, Pt2& t2)
{
    const double dx = p.x - centre.x;
    const double dy = p.y - centre.y;
    const double d = std::hypot(dx, dy);
    if (!(r > 0.0) || !std::isfinite(d) || !std::isfinite(r))
        return 0;
    // On the circle within rounding: the point is its own tangent point.
    const double slack = 1e-9 * r;
    if (std::fabs(d - r) <= slack) {
        t1 = p;
        return 1;
    }
    if (d < r)
        return 0;
    // The radii to the tangent points make the angle acos(r/d) with the radius towards P.
    const double towards = std::atan2(dy, dx);
    const double spread = std::acos(r / d);
    t1 = {centre.x + r * std::cos(towards + spread), centre.y + r * std::sin(towards + spread)};
    t2 = {centre.x + r * std::cos(towards - spread), centre.y + r * std::sin(towards - spread)};
    return 2;
}

bool CircleFrom3Points(Pt2 p1, Pt2 p2, Pt2 p3, Pt2& centre)
{
    auto same = [](Pt2 a, Pt2 b) { return a.x == b.x && a.y == b.y; };
    if (same(p1, p2) || same(p2, p3) || same(p1, p3))
        return false;
    const Pt2 m1{(p1.x + p2.x) / 2.0, (p1.y + p2.y) / 2.0};
    const Pt2 d1 = Polar(m1, 1.0, Angle2D(p1, p2) + kHalfPi);
    const Pt2 m2{(p2.x + p3.x) / 2.0, (p2.y + p3.y) / 2.0};
    const Pt2 d2 = Polar(m2, 1.0, Angle2D(p2, p3) + kHalfPi);
    return IntersectLines(m1, d1, m2, d2, centre);
}

bool CircleInCorner(Pt2 corner, double d1, double d2, double r, CornerCircle& out)
{
    const double between = AngleBetween(d1, d2);
    if (!(r > 0.0) || !std::isfinite(r) || !(std::sin(between) >= kTol))
        return false;
    const double half = between / 2.0;
    out.t = r / std::tan(half);
    out.t1 = Polar(corner, out.t, d1);
    out.t2 = Polar(corner, out.t, d2);
    // Along the bisector of the two rays, r / sin(half) from the corner.
    const Pt2 u1 = Polar({}, 1.0, d1), u2 = Polar({}, 1.0, d2);
    const double bisector = Bearing({}, {u1.x + u2.x, u1.y + u2.y});
    out.centre = Polar(corner, r / std::sin(half), bisector);
    return Finite(out.centre);
}

// ---- arc angles -------------------------------------------------------------

void ArcFrame(double start, double end, double& s, double& e)
{
    if (InTurn(start) && InTurn(end)) {
        s = start;
        e = end < start ? end + kTwoPi : end;
        return;
    }
    s = WrapTurn(start);
    e = s + ArcSpan(start, end);
}

bool ArcPastWholeTurn(double start, double end)
{
    return std::isfinite(start) && std::isfinite(end) && end - start > kTwoPi;
}

void UnwrapArcEnd(double start, double& end)
{
    if (InTurn(start) && InTurn(end)) {
        if (end < start)
            end += kTwoPi;
        return;
    }
    end = start + ArcSpan(start, end);
}

void NormalizeAngleToArc(double start, double end, double& angle)
{
    double s, e;
    ArcFrame(start, end, s, e);
    angle = LiftIntoArc(e, angle);
}

bool AngleInArc(double start, double end, double angle)
{
    double s, e;
    ArcFrame(start, end, s, e);
    const double a = LiftIntoArc(e, angle);
    return s - kTol <= a && a <= e + kTol;
}

double AngleBetween(double a, double b)
{
    auto reduce = [](double v) { return v > kTwoPi && v <= 2.0 * kTwoPi ? v - kTwoPi : WrapTurn(v); };
    const double d = std::fabs(reduce(a) - reduce(b));
    return d <= kPi ? d : kTwoPi - d;
}

void OrderAnglePair(double& a, double& b)
{
    const bool descending = std::fabs(a - b) > kPi;
    if (descending ? b > a : b < a)
        std::swap(a, b);
}

void KeepNearestByAngle(Pt2 r, Pt2 p, double dir1, double dir2, double& best1, double& best2, Pt2& pt1, Pt2& pt2)
{
    // Bearings compared modulo a full turn: just under 2pi lies next to 0.
    const double bearing = Angle2D(r, p);
    const double dist = Distance2D(r, p);
    if (AngleBetween(bearing, dir2) <= AngleBetween(bearing, dir1)) {
        if (dist < best2) {
            best2 = dist;
            pt2 = p;
        }
    } else if (dist < best1) {
        best1 = dist;
        pt1 = p;
    }
}

void KeepNearestOnArc(Pt2 centre, Pt2 p, double ref, double start, double end, double& below, double& above)
{
    double g = Bearing(centre, p);
    NormalizeAngleToArc(start, end, g);
    NormalizeAngleToArc(start, end, ref);
    // Both lie in the arc's own frame: distances run along the arc, never the short way round.
    double& side = g < ref ? below : above;
    if (side == kNoArcAngle || std::fabs(g - ref) < std::fabs(side - ref))
        side = g;
}

void UpdateArcAngleLimits(Pt2 centre, Pt2 p, double ref, double& cw, double& ccw)
{
    double back = std::fmod(WrapTurn(ref) - Bearing(centre, p), kTwoPi);
    if (back < 0.0)
        back += kTwoPi;
    cw = std::fmin(cw, back);
    ccw = std::fmin(ccw, kTwoPi - back);
}

// ---- rectangle tests ----------------------------------------------------------

bool PointInRect(Pt2 p, double x1, double y1, double x2, double y2)
{
    return x1 <= p.x && p.x <= x2 && y1 <= p.y && p.y <= y2;
}

bool SegmentCrossesRect(Pt2 p, Pt2 q, double x1, double y1, double x2, double y2)
{
    if (std::fabs(p.y - q.y) < kTol) {
        if (p.y < y1 || p.y > y2)
            return false;
        return std::min(p.x, q.x) < x1 && std::max(p.x, q.x) > x2;
    }
    if (std::fabs(p.x - q.x) < kTol) {
        if (p.x < x1 || p.x > x2)
            return false;
        return std::min(p.y, q.y) < y1 && std::max(p.y, q.y) > y2;
    }
    return IntersectSegmentQuad(1, {x1, y1}, {x2, y1}, {x2, y2}, {x1, y2}, p, q);
}

bool GetPaperSize(int code, int& width, int& height)
{
    switch (code) {
    case 9:  // A4
        width = 2100;
        height = 2970;
        break;
    case 8:  // A3
        width = 2970;
        height = 4200;
        break;
    case 11:  // A5
        width = 1480;
        height = 2100;
        break;
    default:
        break;
    }
    return true;
}
