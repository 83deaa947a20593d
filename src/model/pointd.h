// A drawing point of three doubles; z is 0 for every point made in 2D.
#pragma once

#include "model/geometry.h"
#include "platform/object.h"

class CPointd : public CObject {
    DECLARE_SERIAL(CPointd)
public:
    CPointd() = default;
    CPointd(double x_, double y_) : x(x_), y(y_) {}
    CPointd(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
    CPointd(const CPointd&) = default;
    CPointd& operator=(const CPointd&) = default;

    // x, y, z as doubles; an old-format archive holds x and y only and z keeps its value.
    void Serialize(CArchive& ar) override;

    bool operator==(const CPointd& o) const { return x == o.x && y == o.y && z == o.z; }

    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// The point in the plan, z dropped.
inline Pt2 Plan(const CPointd& p)
{
    return {p.x, p.y};
}
