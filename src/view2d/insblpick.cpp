#include "view2d/insblpick.h"

#include "model/entitycontext.h"
#include "model/transform.h"
#include "view2d/pickdist.h"
#include "view2d/pickkind.h"

#include <algorithm>
#include <cmath>

namespace {

double SegmentDistance(Pt2 p, Pt2 a, Pt2 b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    const double t = len2 > 0.0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0.0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool SideInWindow(Pt2 a, Pt2 b, const Pt2 (&q)[4], int mode)
{
    if (a.x == b.x && a.y == b.y)
        return PointInQuad(q[0], q[1], q[2], q[3], a);
    return IntersectSegmentQuad(mode, q[0], q[1], q[2], q[3], a, b);
}

}  // namespace

bool InsBlContainsPoint(const CEntityContext& drawing, const CInsBl& insert, const CPointd& p, double margin)
{
    const CBloq* block = drawing.FindBlock(insert.m_block);
    if (!block)
        return false;
    Pt2 box[4];
    if (!PlacedBlockBox(*block, insert.Placement(), box))
        return true;
    const Pt2 q = Plan(p);
    if (PointInQuad(box[0], box[1], box[2], box[3], q))
        return true;
    for (int i = 0; i < 4; ++i)
        if (SegmentDistance(q, box[i], box[(i + 1) % 4]) <= margin)
            return true;
    return false;
}

double PickDistInsBl(const CEntityContext& drawing, const CInsBl& insert, const CPointd& p, std::size_t& budget)
{
    const CBloq* block = drawing.FindBlock(insert.m_block);
    double best = kNoPickDist;
    if (block)
        WalkPlacedParts(drawing, *block, insert.Placement(), budget, [&](PlacedPart& part) {
            const CDib& placed = *part.element;
            if (placed.m_type == ENT_BITMAP)
                return;  // a picture in a block does not pick its insert
            const PickHit hit = PickKind(placed.m_type).pick(placed.m_entity, p, nullptr, drawing);
            if (hit.hit)
                best = std::min(best, hit.dist);
        });
    return best;
}

bool InsBlInSelWindow(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&q)[4], int mode)
{
    const CBloq* block = drawing.FindBlock(insert.m_block);
    Pt2 box[4];
    if (!block || !PlacedBlockBox(*block, insert.Placement(), box))
        return false;
    // A side out of a window, or one crossing, decides; else the box is tested whole.
    const bool sides = SidesInSelWindow(mode, [&](int i) { return SideInWindow(box[i], box[(i + 1) % 4], q, mode); });
    if (sides != (mode == 0))
        return sides;
    const bool windowCrossesBox = InsBlBoxCrossesQuad(insert, drawing, q) == 1;
    return mode == 0 ? !windowCrossesBox : windowCrossesBox;
}

void WalkSnapPieces(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&box)[4], std::size_t& budget,
                    const PlacedPartFn& leaf)
{
    const CBloq* block = drawing.FindBlock(insert.m_block);
    if (!block || !PlacedBoxMeetsQuad(*block, insert.Placement(), box))
        return;
    WalkPlacedParts(drawing, *block, insert.Placement(), budget, leaf, [&](const CInsBl& nested, const CBloq& inner) {
        return PlacedBoxMeetsQuad(inner, nested.Placement(), box);
    });
}
