// Line hatching: families of parallel lines clipped to the inside of a
// closed outline, with the stretches that islands cut left out.
//
// A family works in its own frame: u runs along the lines (direction a),
// v across them, to the left (direction a + pi/2). A line is the set
// v = level. Crossings with the outline follow the half-open rule: a vertex
// within the tolerance of a line counts as below it, so a vertex where the
// outline passes through the line is met once and one where it only touches
// the line twice or not at all; an edge lying on the line is no inside.
#pragma once

#include "model/geometry.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

// A family that would need more lines than this is refused.
inline constexpr double kMaxHatchLines = 100000.0;
// A hatch that would make more segments than this is refused: each becomes a
// line of the drawing, about 300 bytes, so the bound is near 600 MB.
inline constexpr double kMaxHatchSegments = 2000000.0;

enum class HatchError {
    none,
    fewPoints,     // fewer than 3 distinct points
    badPoint,      // a coordinate that is not finite
    noArea,        // every point on one line
    badPattern,    // an angle or spacing that is not finite
    tooManyLines,  // more than kMaxHatchLines in one family
    noAdvance,     // double lines whose two spacings cancel out
    tooManySegments,  // more than kMaxHatchSegments in the hatch
    islandTooLarge,   // an island whose block holds more than can be walked
};

// The message that refuses a hatch for the error; empty for none.
std::string HatchErrorText(HatchError error);

// The outline of a hatch: its points in order, the last joined to the first.
class HatchBoundary {
public:
    // Points equal within the tolerance to the one before are dropped, and
    // so is a last point equal to the first.
    explicit HatchBoundary(std::span<const Pt2> points);

    HatchError Error() const { return m_error; }
    const std::vector<Pt2>& Points() const { return m_points; }
    // The largest coordinate of the outline.
    double Size() const { return m_size; }
    // How near two values of the drawing must be to count as equal.
    double Tolerance() const { return m_tol; }

private:
    std::vector<Pt2> m_points;
    double m_size = 0.0;
    double m_tol = 0.0;
    HatchError m_error = HatchError::none;
};

// One family: lines in direction angle (radians), to the right of the start
// vertex at offsets that grow by spacing and spacing2 in turn (spacing2 ==
// spacing for evenly spaced lines). A spacing of 0 makes no lines; negative
// ones step to the left, from a start vertex at the right.
struct HatchFamily {
    double angle = 0.0;
    double spacing = 0.0;
    double spacing2 = 0.0;
};

// The kinds of island, in the order their stretches are cut out of a line.
enum class HatchIslandKind { insert, circle, text, pline };

// What a hatch line leaves out: the stretch from its first to its last
// crossing with any part of the island, within the line's inside span. It
// is cut out only where it lies strictly inside one inside stretch; one that
// reaches a stretch's end or lies in a gap leaves the line as it is.
class HatchIsland {
public:
    HatchIslandKind kind = HatchIslandKind::pline;

    struct Arc {
        Pt2 centre;
        double r = 0.0;
        double start = 0.0;  // counter-clockwise from start to end, radians
        double end = 0.0;
        bool full = false;
    };

    // Parts with a coordinate that is not finite, and circles and arcs of no
    // radius, are passed over.
    void AddSegment(Pt2 a, Pt2 b);
    void AddCircle(Pt2 centre, double r);
    void AddArc(Pt2 centre, double r, double start, double end);
    bool Empty() const { return m_segments.empty() && m_arcs.empty(); }
    // False when what the island stands for was too large to take whole.
    bool whole = true;

    struct Segment {
        Pt2 a, b;
    };
    const std::vector<Segment>& Segments() const { return m_segments; }
    const std::vector<Arc>& Arcs() const { return m_arcs; }

private:
    std::vector<Segment> m_segments;
    std::vector<Arc> m_arcs;
};

struct HatchSegment {
    Pt2 a, b;
};

// True when the vertex can start the family: the line one spacing to the
// left of it (to the right for a negative spacing) misses the outline and
// the line one spacing to the other side meets it.
bool IsHatchStartVertex(const HatchBoundary& boundary, double angle, double spacing, Pt2 vertex);
// d holds where a line crosses the outline, along the line. The start is the
// rearmost crossing (the first of equals); d becomes the distances from it,
// ascending. Its index, or -1 for fewer than two crossings.
std::ptrdiff_t FindHatchLineStart(std::vector<double>& d);

// What generating a family did besides meeting its lines with the edges and
// islands that reach them, counted for telling its cost.
struct HatchWork {
    std::size_t outlinePoints = 0;  // visited to measure the outline and find the start vertex
    std::size_t stretchTests = 0;   // inside stretches tested for holding an island
};

// none, or why the family cannot be hatched in the boundary.
HatchError CheckHatchFamily(const HatchBoundary& boundary, const HatchFamily& family);

// none, or tooManySegments when the families would cut more segments, at a
// generous estimate, than kMaxHatchSegments out of the outline and islands.
HatchError CheckHatchSize(const HatchBoundary& boundary, std::span<const HatchIsland> islands,
                          std::span<const HatchFamily> families);

// The family's lines by their level, in the order they are generated: the
// start vertex is the first, in outline order, that passes
// IsHatchStartVertex; lines follow at the offsets from it until one lies
// beyond the outline. Empty when the family has no line or fails CheckHatchFamily.
// work, when given, adds what was done.
std::vector<double> HatchLineLevels(const HatchBoundary& boundary, const HatchFamily& family,
                                    HatchWork* work = nullptr);

// Appends the family's segments, line after line in level order, each line's
// from the rear along the direction: the inside stretches of the line less
// what the islands cut out of them, the islands taken kind by kind (inserts,
// circles, texts, polylines), each kind in its order in islands. Nothing
// when the family fails CheckHatchFamily. work, when given, adds what was done.
void AddHatchFamily(const HatchBoundary& boundary, std::span<const HatchIsland> islands, const HatchFamily& family,
                    std::vector<HatchSegment>& out, HatchWork* work = nullptr);

// The frame of a family: u along the lines, v across them to the left.
struct HatchFrame {
    explicit HatchFrame(double angle);
    double U(Pt2 p) const { return p.x * cosA + p.y * sinA; }
    double V(Pt2 p) const { return p.y * cosA - p.x * sinA; }
    Pt2 At(double u, double v) const { return {u * cosA - v * sinA, u * sinA + v * cosA}; }

    double cosA, sinA;
};
