#include "view2d/archgeom.h"

#include "model/geometry.h"
#include "model/recta.h"

#include <cmath>

void PolarPoint(const CPointd& p, double distance, double angle, CPointd& out)
{
    out = CPointd(p.x + distance * std::cos(angle), p.y + distance * std::sin(angle), p.z);
}

double DistancePoints(const CPointd& a, const CPointd& b)
{
    return std::hypot(b.x - a.x, b.y - a.y);
}

double AnglePoints(const CPointd& a, const CPointd& b)
{
    return Bearing({a.x, a.y}, {b.x, b.y});
}

void MidPoint(const CPointd& a, const CPointd& b, CPointd& out)
{
    out = CPointd((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
}

double PerpendicularFoot(const CPointd& p, const CRecta& line, CPointd& foot)
{
    const CPointd& a = line.m_p1;
    const CPointd& b = line.m_p2;
    double t = 0.0;
    if (!FootParameter({p.x, p.y}, {a.x, a.y}, {b.x, b.y}, t))
        return 0.0;
    const CPointd f(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), a.z + t * (b.z - a.z));
    const double d = DistancePoints(p, f);
    foot = f;
    return d;
}
