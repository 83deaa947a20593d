#include "view2d/rasterpick.h"

#include "model/bmp.h"
#include "model/hatch.h"
#include "view2d/pickdist.h"

#include <algorithm>

bool PickDistBmp(const CBmp& bmp, const CPointd& p, double& dist)
{
    CPointd c[4];
    bmp.Corners(c);
    if (!PointInQuad(ToPt2(c[0]), ToPt2(c[1]), ToPt2(c[2]), ToPt2(c[3]), ToPt2(p)))
        return false;
    dist = 0.0;
    return true;
}

bool HatchInSelWindow(const CHatch& hatch, const Pt2 (&q)[4], int)
{
    const double x1 = std::min(q[0].x, q[2].x), x2 = std::max(q[0].x, q[2].x);
    const double y1 = std::min(q[0].y, q[2].y), y2 = std::max(q[0].y, q[2].y);
    return hatch.IsInRect(x1, y1, x2, y2) && PointInQuad(q[0], q[1], q[2], q[3], ToPt2(hatch.m_seed));
}

bool BmpInSelWindow(const CBmp& bmp, const Pt2 (&q)[4], int mode)
{
    CPointd c[4];
    bmp.Corners(c);
    for (int i = 0; i < 4; ++i) {
        const bool in = IntersectSegmentQuad(mode, q[0], q[1], q[2], q[3], ToPt2(c[i]), ToPt2(c[(i + 1) % 4]));
        if (mode == 0 && !in)
            return false;
        if (mode != 0 && in)
            return true;
    }
    return mode == 0;
}
