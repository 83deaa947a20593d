#include "view2d/lineedit.h"

#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/recta.h"
#include "view2d/archedit.h"

#include <array>
#include <cmath>
#include <utility>

namespace {

constexpr double kInLine = 0.0001;

// Plan distance from p to the carrier of a-b (which has some length).
double CarrierDistance(const CPointd& p, const CPointd& a, const CPointd& b)
{
    double t = 0.0;
    FootParameter(Plan(p), Plan(a), Plan(b), t);
    return Distance2D({p.x, p.y}, {a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
}

bool SameEnds(const CRecta& l, const CPointd& p1, const CPointd& p2)
{
    return l.m_p1 == p1 && l.m_p2 == p2;
}

}  // namespace

CPointd OnCarrier(const CRecta& line, const Pt2& p)
{
    const CPointd& a = line.m_p1;
    const CPointd& b = line.m_p2;
    double t = 0.0;
    if (!FootParameter(p, Plan(a), Plan(b), t))
        return CPointd(p.x, p.y, a.z);
    return CPointd(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z));
}

int CornerEnds(const CRecta& line, const Pt2& corner, const Pt2& toward, CPointd& p1, CPointd& p2)
{
    auto side = [&](const CPointd& e) {
        return (e.x - corner.x) * (toward.x - corner.x) + (e.y - corner.y) * (toward.y - corner.y);
    };
    const double s1 = side(line.m_p1), s2 = side(line.m_p2);
    bool keepP2 = s2 >= s1;
    if (!(s1 > 0.0) && !(s2 > 0.0))
        keepP2 = Distance2D(Plan(line.m_p2), corner) >= Distance2D(Plan(line.m_p1), corner);
    const CPointd at = OnCarrier(line, corner);
    p1 = keepP2 ? at : line.m_p1;
    p2 = keepP2 ? line.m_p2 : at;
    return keepP2 ? 1 : 2;
}

bool EndLineAtCorner(CRectaDoc& doc, CRectaView& view, CDib& record, POSITION pos, const Pt2& corner,
                     const Pt2& toward)
{
    if (!pos || doc.FindEntityRecord(&record) != pos || record.m_type != ENT_LINE)
        return false;
    const auto& line = *static_cast<const CRecta*>(record.m_entity);
    CPointd p1, p2;
    CornerEnds(line, corner, toward, p1, p2);
    return SameEnds(line, p1, p2) || SetLineEnds(doc, view, record, pos, p1, p2);
}

bool JoinLinesInLine(CRectaDoc& doc, CRectaView& view, CDib& keep, POSITION keepPos, CDib& gone, POSITION gonePos)
{
    if (!keepPos || !gonePos || doc.FindEntityRecord(&keep) != keepPos || doc.FindEntityRecord(&gone) != gonePos ||
        keep.m_type != ENT_LINE || gone.m_type != ENT_LINE || &keep == &gone)
        return false;
    const auto& a = *static_cast<const CRecta*>(keep.m_entity);
    const auto& b = *static_cast<const CRecta*>(gone.m_entity);
    auto length = [](const CRecta& l) { return Distance2D(Plan(l.m_p1), Plan(l.m_p2)); };
    if (!(length(a) > 0.0) || !(length(b) > 0.0))
        return false;
    auto inLine = [](const CRecta& l, const CRecta& on) {
        return CarrierDistance(l.m_p1, on.m_p1, on.m_p2) <= kInLine &&
               CarrierDistance(l.m_p2, on.m_p1, on.m_p2) <= kInLine;
    };
    if (!inLine(a, b) || !inLine(b, a))
        return false;
    // The outermost ends along keep's direction.
    const std::array<const CPointd*, 4> ends{&a.m_p1, &a.m_p2, &b.m_p1, &b.m_p2};
    const CPointd* first = ends[0];
    const CPointd* last = ends[0];
    double lo = 0.0, hi = 0.0;
    for (const CPointd* e : ends) {
        double t = 0.0;
        FootParameter(Plan(*e), Plan(a.m_p1), Plan(a.m_p2), t);
        if (t < lo) {
            lo = t;
            first = e;
        }
        if (t > hi) {
            hi = t;
            last = e;
        }
    }
    const CPointd p1 = *first, p2 = *last;
    if (!SameEnds(a, p1, p2) && !SetLineEnds(doc, view, keep, keepPos, p1, p2))
        return false;
    return EraseEntityWithUndo(doc, view, gone, gonePos);
}

CArc* FilletArc(CRectaDoc& doc, CRecta& line1, CRecta& line2, const Pt2& corner, double radius)
{
    // A line's end at the corner and its far end.
    auto ends = [&](CRecta& l) {
        const bool p1 = std::fabs(l.m_p1.x - corner.x) <= 0.001 && std::fabs(l.m_p1.y - corner.y) <= 0.001;
        return std::pair<CPointd*, const CPointd*>(p1 ? &l.m_p1 : &l.m_p2, p1 ? &l.m_p2 : &l.m_p1);
    };
    const auto [end1, far1] = ends(line1);
    const auto [end2, far2] = ends(line2);
    CornerCircle c;
    if (!CircleInCorner(corner, Bearing(Plan(*end1), Plan(*far1)), Bearing(Plan(*end2), Plan(*far2)), radius, c) ||
        c.t > Distance2D(Plan(*end1), Plan(*far1)) || c.t > Distance2D(Plan(*end2), Plan(*far2)))
        return nullptr;
    const double z = end1->z;
    *end1 = OnCarrier(line1, c.t1);
    *end2 = OnCarrier(line2, c.t2);
    double start = Bearing(c.centre, c.t1), end = Bearing(c.centre, c.t2);
    OrderAnglePair(start, end);
    CArc* arc = doc.AddArc();
    arc->m_centre = CPointd(c.centre.x, c.centre.y, z);
    arc->m_rx = arc->m_ry = radius;
    arc->m_start = start;
    arc->m_end = end;
    return arc;
}
