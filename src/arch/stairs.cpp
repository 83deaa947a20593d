// Stairs in plan: one flight, two flights, and spiral.
#include "arch/archgen.h"

#include "arch/archutil.h"
#include "doc/rectadoc.h"
#include "view2d/archedit.h"
#include "view2d/archgeom.h"
#include "view2d/rectaview.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <string>

namespace {

// The going of a tread the flights are divided into, near enough.
constexpr double kTread = 0.28;
constexpr int kSpiralTreads = 16;
// The spiral's core, as a share of its radius.
constexpr double kCoreShare = 0.2;

// A flight's frame: from start along d, across a (the width, on the width point's side).
struct Flight {
    CPointd start;
    Pt2 d, a;
    double length = 0.0, width = 0.0;

    CPointd At(double along, double across) const
    {
        return Offset(Offset(start, d, along), a, across);
    }
};

std::optional<Flight> FlightFrom(CRectaView& view, const CPointd& start, const CPointd& length,
                                 const CPointd& width)
{
    Flight f;
    f.start = start;
    if (!UnitDirection(start, length, f.d)) {
        Refuse(view, "Stairs: the length point lies on the start point");
        return std::nullopt;
    }
    f.length = DistancePoints(start, length);
    const double across = Cross(f.d, {width.x - start.x, width.y - start.y});
    f.width = std::abs(across);
    if (!(f.width > 0.0)) {
        Refuse(view, "Stairs: the width point lies on the stair's line");
        return std::nullopt;
    }
    const Pt2 left = LeftOf(f.d);
    f.a = across > 0.0 ? left : Pt2{-left.x, -left.y};
    return f;
}

// A flight of more treads is refused before anything is made.
constexpr int kMaxTreads = 1000;

// The treads of a run, or nothing (with the reason shown) when there would be too many.
std::optional<int> TreadCount(CRectaView& view, double run)
{
    const double n = std::round(run / kTread);
    if (!(n <= kMaxTreads)) {
        Refuse(view, "Stairs: more than " + std::to_string(kMaxTreads) + " treads");
        return std::nullopt;
    }
    return std::max(1, int(n));
}

class StairLines {
public:
    StairLines(CRectaDoc& doc, CRectaView& view)
        : m_doc(doc), m_view(view), m_colour(LayerColour(doc, kStairsLayer))
    {
    }
    void Line(const CPointd& a, const CPointd& b)
    {
        AddLineByLayer(m_doc, m_view, a, b, kStairsLayer, m_colour, 0, m_doc.m_penWidth);
    }
    void Chain(const std::vector<CPointd>& points, bool closed)
    {
        AddPolylineByLayer(m_doc, m_view, points, closed, kStairsLayer);
    }
    // The head of the walking line, arriving at tip along d.
    void Arrow(const CPointd& tip, const Pt2& d, double size)
    {
        for (double turn : {5.0 / 6.0, -5.0 / 6.0}) {
            const double c = std::cos(turn * std::numbers::pi), s = std::sin(turn * std::numbers::pi);
            Line(tip, Offset(tip, {d.x * c - d.y * s, d.x * s + d.y * c}, size));
        }
    }

private:
    CRectaDoc& m_doc;
    CRectaView& m_view;
    COLORREF m_colour;
};

}  // namespace

void GenEscaleraRecta(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                      const CPointd& width)
{
    const std::optional<Flight> f = FlightFrom(view, start, length, width);
    if (!f)
        return;
    const double l = f->length, w = f->width;
    const std::optional<int> treads = TreadCount(view, l);
    if (!treads)
        return;
    const int n = *treads;
    StairLines lines(doc, view);
    lines.Chain({f->At(0, 0), f->At(l, 0), f->At(l, w), f->At(0, w)}, true);
    for (int i = 1; i < n; ++i)
        lines.Line(f->At(l * i / n, 0), f->At(l * i / n, w));
    lines.Line(f->At(0, w / 2), f->At(l, w / 2));
    lines.Arrow(f->At(l, w / 2), f->d, w / 4);
    CloseUndoState(view);
}

void GenEscaleraDosTramos(CRectaDoc& doc, CRectaView& view, const CPointd& start, const CPointd& length,
                          const CPointd& width)
{
    const std::optional<Flight> f = FlightFrom(view, start, length, width);
    if (!f)
        return;
    const double l = f->length, w = f->width, run = l - w;
    if (!(run > 0.0)) {
        Refuse(view, "Stairs: too short for two flights and a landing");
        return;
    }
    const std::optional<int> treads = TreadCount(view, run);
    if (!treads)
        return;
    const int n = *treads;
    StairLines lines(doc, view);
    lines.Chain({f->At(0, 0), f->At(l, 0), f->At(l, 2 * w), f->At(0, 2 * w)}, true);
    lines.Line(f->At(0, w), f->At(run, w));
    lines.Line(f->At(run, 0), f->At(run, 2 * w));
    for (int i = 1; i < n; ++i)
        for (double side : {0.0, w})
            lines.Line(f->At(run * i / n, side), f->At(run * i / n, side + w));
    const double turn = run + w / 2;
    lines.Chain({f->At(0, w / 2), f->At(turn, w / 2), f->At(turn, 1.5 * w), f->At(0, 1.5 * w)}, false);
    lines.Arrow(f->At(0, 1.5 * w), {-f->d.x, -f->d.y}, w / 4);
    CloseUndoState(view);
}

void GenEscaleraEspiral(CRectaDoc& doc, CRectaView& view, const CPointd& centre, const CPointd& start)
{
    const double r = DistancePoints(centre, start);
    if (!(r > 0.0)) {
        Refuse(view, "Stairs: the start point lies on the centre");
        return;
    }
    if (view.RadiusRefused(r))
        return;
    const COLORREF colour = LayerColour(doc, kStairsLayer);
    const double core = kCoreShare * r;
    for (double radius : {r, core}) {
        doc.AddCircOnLayer(doc.m_penWidth, colour, kStairsLayer, centre, radius);
        RecordLastAdded(doc, view);
    }
    StairLines lines(doc, view);
    const double a0 = std::atan2(start.y - centre.y, start.x - centre.x);
    for (int i = 0; i < kSpiralTreads; ++i) {
        const double a = a0 + 2 * std::numbers::pi * i / kSpiralTreads;
        const Pt2 d{std::cos(a), std::sin(a)};
        lines.Line(Offset(centre, d, core), Offset(centre, d, r));
    }
    CloseUndoState(view);
}
