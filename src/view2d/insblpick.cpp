#include "view2d/insblpick.h"

#include "model/blockindex.h"
#include "model/entitycontext.h"
#include "model/transform.h"
#include "view2d/pickdist.h"
#include "view2d/pickkind.h"

#include <algorithm>
#include <cmath>

namespace {

bool SideInWindow(Pt2 a, Pt2 b, const Pt2 (&q)[4], int mode)
{
    if (a.x == b.x && a.y == b.y)
        return PointInQuad(q[0], q[1], q[2], q[3], a);
    return IntersectSegmentQuad(mode, q[0], q[1], q[2], q[3], a, b);
}

}  // namespace

double PickDistInsBl(const CEntityContext& drawing, const CInsBl& insert, const CPointd& p, double t,
                     NestedWork& work)
{
    const CBloq* block = insert.FindBlock(drawing);
    double best = kNoPickDist;
    if (!block)
        return best;
    PlacedQuery near;
    near.window = PlanBox();
    near.window.Add(p.x - t, p.y - t);
    near.window.Add(p.x + t, p.y + t);
    near.pieces = true;
    WalkPlacedInWindow(drawing, *block, insert.Placement(), near, work, [&](PlacedPart& part) {
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

void WalkSnapPieces(const CEntityContext& drawing, const CInsBl& insert, const Pt2 (&box)[4], NestedWork& work,
                    const PlacedPartFn& leaf)
{
    const CBloq* block = insert.FindBlock(drawing);
    if (!block)
        return;
    PlacedQuery near;
    near.window = PlanBox();
    for (const Pt2& c : box)
        near.window.Add(c.x, c.y);
    near.pieces = true;
    WalkPlacedInWindow(drawing, *block, insert.Placement(), near, work, leaf);
}
