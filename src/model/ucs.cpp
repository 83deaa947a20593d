#include "model/ucs.h"

#include <algorithm>
#include <cmath>

namespace {

struct Vec {
    double x, y, z;
};

Vec Sub(const CPointd& a, const CPointd& b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

double Dot(const Vec& a, const Vec& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

Vec Scaled(const Vec& a, double s)
{
    return {a.x * s, a.y * s, a.z * s};
}

Vec Cross(const Vec& a, const Vec& b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Length(const Vec& a)
{
    return std::hypot(a.x, a.y, a.z);
}

// Below this share of the points' size, a length counts as none.
constexpr double kRelativeZero = 1e-12;
// Sine of the smallest angle between o-p and o-q that still spans a plane.
constexpr double kMinSine = 1e-9;

}  // namespace

void MulMatrixPoint(const double (&m)[3][3], const CPointd& p, CPointd& out)
{
    const double x = p.x, y = p.y, z = p.z;
    out.x = m[0][0] * x + m[0][1] * y + m[0][2] * z;
    out.y = m[1][0] * x + m[1][1] * y + m[1][2] * z;
    out.z = m[2][0] * x + m[2][1] * y + m[2][2] * z;
}

int SameDirection(const CPointd& a, const CPointd& b)
{
    constexpr double kTolerance = 0.0001;
    return std::abs(a.x - b.x) < kTolerance && std::abs(a.y - b.y) < kTolerance && std::abs(a.z - b.z) < kTolerance
               ? 1
               : 0;
}

bool PlaneAxes(int mode, const CPointd& o, const CPointd& p, const CPointd& q, double (&axes)[3][3])
{
    double size = 0.0;
    for (const CPointd* c : {&o, &p, &q})
        size = std::max({size, std::abs(c->x), std::abs(c->y), std::abs(c->z)});
    const double zero = kRelativeZero * std::max(size, 1.0);
    Vec u, v;
    if (mode == PLANE_VERTICAL) {
        u = Sub(p, o);
        if (!(std::hypot(u.x, u.y) > zero))
            return false;
        v = Vec{0.0, 0.0, 1.0};
    } else {
        u = Sub(p, o);
        v = Sub(q, o);
        if (!(Length(u) > zero) || !(Length(v) > zero))
            return false;
    }
    u = Scaled(u, 1.0 / Length(u));
    // Gram-Schmidt: v loses its part along u.
    const Vec along = Scaled(u, Dot(v, u));
    const Vec square{v.x - along.x, v.y - along.y, v.z - along.z};
    const double length = Length(square);
    if (!(length > kMinSine * Length(v)) || !std::isfinite(length))
        return false;
    v = Scaled(square, 1.0 / length);
    const Vec w = Cross(u, v);
    const Vec rows[3] = {u, v, w};
    for (int i = 0; i < 3; ++i) {
        axes[i][0] = rows[i].x;
        axes[i][1] = rows[i].y;
        axes[i][2] = rows[i].z;
    }
    return true;
}
