#include "view2d/archgeom.h"

#include "model/recta.h"

#include <cmath>
#include <numbers>

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
    const double dx = b.x - a.x, dy = b.y - a.y;
    if (dx == 0.0 && dy == 0.0)
        return 0.0;
    const double angle = std::atan2(dy, dx);
    if (angle >= 0.0)
        return angle;
    // A tiny negative angle would round up to exactly 2pi.
    const double wrapped = angle + 2.0 * std::numbers::pi;
    return wrapped < 2.0 * std::numbers::pi ? wrapped : 0.0;
}

void MidPoint(const CPointd& a, const CPointd& b, CPointd& out)
{
    out = CPointd((a.x + b.x) / 2.0, (a.y + b.y) / 2.0, (a.z + b.z) / 2.0);
}

double PerpendicularFoot(const CPointd& p, const CRecta& line, CPointd& foot)
{
    const CPointd& a = line.m_p1;
    const CPointd& b = line.m_p2;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    if (!(len2 > 0.0))
        return 0.0;
    const double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len2;
    const CPointd f(a.x + t * dx, a.y + t * dy, a.z + t * (b.z - a.z));
    const double d = DistancePoints(p, f);
    foot = f;
    return d;
}
