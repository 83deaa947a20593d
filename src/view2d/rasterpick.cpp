#include "view2d/rasterpick.h"

#include "model/bmp.h"
#include "model/hatch.h"
#include "view2d/pickdist.h"

bool PickDistBmp(const CBmp& bmp, const CPointd& p, double& dist)
{
    CPointd c[4];
    bmp.Corners(c);
    if (!PointInQuad(Plan(c[0]), Plan(c[1]), Plan(c[2]), Plan(c[3]), Plan(p)))
        return false;
    dist = 0.0;
    return true;
}

bool HatchInSelWindow(const CHatch& hatch, const Pt2 (&q)[4], int)
{
    return HeldInSelWindow(hatch, hatch.m_seed, q);
}

bool BmpInSelWindow(const CBmp& bmp, const Pt2 (&q)[4], int mode)
{
    CPointd c[4];
    bmp.Corners(c);
    return SidesInSelWindow(mode, [&](int i) {
        return IntersectSegmentQuad(mode, q[0], q[1], q[2], q[3], Plan(c[i]), Plan(c[(i + 1) % 4]));
    });
}
