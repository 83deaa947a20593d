#include "model/pointlist.h"

#include "model/geometry.h"

namespace {

// Calls side(a, b) for each side of the polygon, the closing one last.
template <class Side>
void ForEachSide(const CObList& points, Side&& side)
{
    if (points.IsEmpty())
        return;
    const auto* first = static_cast<const CPointd*>(points.GetHead());
    const CPointd* prev = first;
    for (POSITION pos = points.GetHeadPosition(); pos;) {
        const auto* p = static_cast<const CPointd*>(points.GetNext(pos));
        if (p != first)
            side(*prev, *p);
        prev = p;
    }
    side(*prev, *first);
}

}  // namespace

void AppendPointCopy(const CPointd& p, CObList& points)
{
    points.AddTail(new CPointd(p.x, p.y, p.z));
}

double PolygonArea(const CObList& points)
{
    double twice = 0.0;
    ForEachSide(points, [&](const CPointd& a, const CPointd& b) { twice += a.x * b.y - b.x * a.y; });
    return twice / 2.0;
}

double PolygonPerimeter(const CObList& points)
{
    double length = 0.0;
    ForEachSide(points, [&](const CPointd& a, const CPointd& b) { length += Distance2D(a.x, b.x, a.y, b.y); });
    return length;
}
