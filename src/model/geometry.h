// Plane geometry on doubles: distances, angles, intersections, containment
// and the arc-angle bookkeeping used by trim, extend, snap and picking.
// Angles are radians, counterclockwise from +x. Stateless free functions.
#pragma once

#include <cmath>
#include <limits>

struct Pt2 {
    double x = 0.0;
    double y = 0.0;
};

// A box in the plan, empty until a point is added. Comparisons with NaN are
// false, so a NaN coordinate never moves a bound.
struct PlanBox {
    static constexpr double kInf = std::numeric_limits<double>::infinity();
    Pt2 lo{kInf, kInf};
    Pt2 hi{-kInf, -kInf};

    void Add(double x, double y)
    {
        if (x < lo.x)
            lo.x = x;
        if (y < lo.y)
            lo.y = y;
        if (x > hi.x)
            hi.x = x;
        if (y > hi.y)
            hi.y = y;
    }
    bool Empty() const { return !(lo.x <= hi.x && lo.y <= hi.y); }
    // Holds a point and every bound is finite: the box can be placed and tested.
    bool Bounded() const
    {
        return !Empty() && std::isfinite(lo.x) && std::isfinite(lo.y) && std::isfinite(hi.x) && std::isfinite(hi.y);
    }
};

// The largest magnitude of a coordinate or radius a drawing takes: sums and
// widths of such values, and so the extents, stay finite. The DXF reader
// takes larger values for damage.
inline constexpr double kCoordinateLimit = 1e15;

// Finite and of magnitude up to kCoordinateLimit.
inline bool InCoordinateRange(double v)
{
    return std::fabs(v) <= kCoordinateLimit;
}
inline bool InCoordinateRange(Pt2 p)
{
    return InCoordinateRange(p.x) && InCoordinateRange(p.y);
}

// Marks a side of KeepNearestOnArc that has no candidate yet.
inline constexpr double kNoArcAngle = 10000.0;

// ---- distances and angles -------------------------------------------------

// Note the argument order x1, x2, y1, y2; without overflow for large coordinates.
double Distance2D(double x1, double x2, double y1, double y2);
// Same distance for two points.
double Distance2D(Pt2 a, Pt2 b);
// Direction from 1 to 2 in [0, 2pi]; an equal x or y is nudged by 0.0001 first, so (1,0) gives ~0.0001; NaN gives 0.
double Angle2D(double x1, double y1, double x2, double y2);
// Same direction for two points.
double Angle2D(Pt2 from, Pt2 to);
// Exact direction from `from` to `to` in [0, 2pi); 0 when they coincide.
double Bearing(Pt2 from, Pt2 to);
// degrees * pi / 180.
double DegToRad(double degrees);
// radians * 180 / pi.
double RadToDeg(double radians);
// x + r cos a.
double PolarX(double x, double r, double a);
// y + r sin a.
double PolarY(double y, double r, double a);
// Point at distance r in direction a from p.
Pt2 Polar(Pt2 p, double r, double a);
// Logical point to drawing point: (x / scale + ox, y / scale + oy); inverse of WorldToLogical (dc.h).
Pt2 LogicalToWorld(int x, int y, double scale, double ox, double oy);

// ---- intersections and containment ----------------------------------------

// Line C-D cut with segment A-B (tol 0.0001); the point is written unless parallel; true only when it lies on A-B.
bool IntersectSegments(Pt2 a, Pt2 b, Pt2 c, Pt2 d, Pt2& out);
// Lines A-B and C-D; false (out untouched) when parallel within slope 0.0004, else writes the point.
bool IntersectLines(Pt2 a, Pt2 b, Pt2 c, Pt2 d, Pt2& out);
// Lines A-B and C-D by their directions: false (out untouched) when they make
// an angle below 0.0001 radians or either has no length, else writes the point.
bool IntersectCarriers(Pt2 a, Pt2 b, Pt2 c, Pt2 d, Pt2& out);
// Where the foot of the perpendicular from P lies on line A-B: 0 at A, 1 at B;
// false (t untouched) when A and B coincide.
bool FootParameter(Pt2 p, Pt2 a, Pt2 b, double& t);
// P, a point of the line A-B, lies on the segment within 0.0001.
bool OnSegment(Pt2 p, Pt2 a, Pt2 b);
// Segment P-Q against convex quad c1..c4: variant 0 = wholly inside (both ends in it, PointInQuad), else
// overlaps: false unless the line meets exactly two sides, or for a segment within 0.0001 on both axes an end lies in it.
bool IntersectSegmentQuad(int variant, Pt2 c1, Pt2 c2, Pt2 c3, Pt2 c4, Pt2 p, Pt2 q);
// P inside quad c1..c4, bounds included; false when the horizontal through P meets other than two sides (e.g. at corners).
bool PointInQuad(Pt2 c1, Pt2 c2, Pt2 c3, Pt2 c4, Pt2 p);
// Line A-B with circle: 2 (touching gives equal points) or 0; mode 1|3 sets seg flags (tol 0.0001), 2|3 arc flags.
int IntersectSegmentCircle(Pt2 a, Pt2 b, int mode, double start, double end, Pt2 centre, double r, Pt2& p1, Pt2& p2,
                           bool& seg1, bool& seg2, bool& arc1, bool& arc2);
// Circle/arc crossing a side gives onCrossing >= 1; else whether the figure lies wholly inside the quad.
bool ArcCrossesQuad(int onCrossing, Pt2 c1, Pt2 c2, Pt2 c3, Pt2 c4, Pt2 centre, double r, double start, double end,
                    bool isArc);
// 0, 1 (touching, k exactly 1) or 2 points; 0 when concentric, nested or degenerate; flags: mode 1 arc 1, 2 arc 2, 3 both.
int IntersectCircles(int mode, double start1, double end1, Pt2 c1, double r1, double start2, double end2, Pt2 c2,
                     double r2, Pt2& p1, Pt2& p2, bool& flag1, bool& flag2);
// Tangent points on the circle seen from P: two distinct points, counter-clockwise
// one first; one (P itself) for P on the circle; none inside or for r <= 0.
int TangentPointsFromPoint(Pt2 p, Pt2 centre, double r, Pt2& t1, Pt2& t2);
// Centre of the circle through three points; false when collinear or two points coincide exactly.
bool CircleFrom3Points(Pt2 p1, Pt2 p2, Pt2 p3, Pt2& centre);

// The circle of radius r in the corner of two rays from `corner` (directions
// d1 and d2, radians): tangent to both at t from the corner.
struct CornerCircle {
    Pt2 t1, t2;  // tangent points on the first and the second ray
    Pt2 centre;
    double t = 0.0;
};
// False when r is not above 0 or the rays run parallel (within 0.0001 radians).
bool CircleInCorner(Pt2 corner, double d1, double d2, double r, CornerCircle& out);

// ---- arc angles -------------------------------------------------------------
// Angles in [0, 2pi] are used as given; others (negative, rotated past 2pi)
// are taken modulo 2pi, and an arc spanning end - start >= 2pi is a full turn.

// The arc in one turn: s the start taken into [0, 2pi], e the end following it,
// s <= e <= s + 2pi. Angles in [0, 2pi] are kept (e gains 2pi when below s);
// an angle that is not finite leaves s or e not finite.
void ArcFrame(double start, double end, double& s, double& e);
// True when the arc, its angles finite, runs past a whole turn (end - start above 2pi): it covers its circle.
bool ArcPastWholeTurn(double start, double end);
// Raises end by whole turns to lie in [start, start + 2pi] (one turn when both are in [0, 2pi]).
void UnwrapArcEnd(double start, double& end);
// Brings angle into the arc's sweep: with the arc unwrapped from start in [0, 2pi], lifts angle by 2pi when at most end - 2pi.
void NormalizeAngleToArc(double start, double end, double& angle);
// Angle on the arc from start ccw to end, with 0.0001 slack at both ends.
bool AngleInArc(double start, double end, double angle);
// Smallest angle between two directions, in [0, pi].
double AngleBetween(double a, double b);
// Orders the pair so the shorter way round runs from a to b: descending when |a - b| > pi, else ascending.
void OrderAnglePair(double& a, double& b);
// Files P under dir1 or dir2 (the nearer modulo a full turn, ties to dir2); keeps it when strictly nearer to R.
void KeepNearestByAngle(Pt2 r, Pt2 p, double dir1, double dir2, double& best1, double& best2, Pt2& pt1, Pt2& pt2);
// Keeps, below and above ref, the candidate angle nearest to ref along the arc, both taken into the arc's
// frame (NormalizeAngleToArc); kNoArcAngle marks an empty side. Bearings are exact (no Angle2D nudge).
void KeepNearestOnArc(Pt2 centre, Pt2 p, double ref, double start, double end, double& below, double& above);
// Lowers the clockwise and counterclockwise offsets from ref to P's exact bearing, modulo a full turn,
// when smaller; a bearing equal to ref gives clockwise 0 and counterclockwise 2pi.
void UpdateArcAngleLimits(Pt2 centre, Pt2 p, double ref, double& cw, double& ccw);

// ---- rectangle tests ----------------------------------------------------------

// x1 <= x <= x2 and y1 <= y <= y2 (caller passes x1 <= x2, y1 <= y2).
bool PointInRect(Pt2 p, double x1, double y1, double x2, double y2);
// Horizontal/vertical (within 0.0001) segments must span the rect side to side; others overlap it (IntersectSegmentQuad 1).
bool SegmentCrossesRect(Pt2 p, Pt2 q, double x1, double y1, double x2, double y2);

// Paper size in tenths of mm for GDI codes 9 (A4), 8 (A3), 11 (A5); other codes leave w, h alone. Always true.
bool GetPaperSize(int code, int& width, int& height);
