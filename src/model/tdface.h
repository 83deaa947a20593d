// The 3D face entity (type 11): a quadrilateral of four corners in space.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"

class CDC;
struct WorldMap;
enum class DrawKind;

class CTdface : public CEntity {
    DECLARE_SERIAL(CTdface)
public:
    CTdface() = default;
    // Full constructor: mask 0, display word 1, no name, corners at the origin.
    CTdface(int width, COLORREF color, std::string_view layer, int mode, double dx, double dy, double dz);

    void Copy(const CTdface& other) { *this = other; }
    // 1 when corner 1 or 2 lies in the rectangle or edge 1-2 crosses it; the rest is not looked at.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    // The closed outline 1-2-3-4-1, mask ignored. Drawn normally only for
    // display word 1; dotted and erased always.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;
    void Serialize(CArchive& ar) override;

    int m_edgeMask = 0;  // bits 0-3 hide edges 1-2, 2-3, 3-4, 4-1 in the 3D views
    int m_display = 1;   // drawn in plan views only when 1
    std::string m_name;
    int m_extrusionMode = EXTRUSION_FLAT;
    CPointd m_dir{0.0, 0.0, 1.0};
    CPointd m_c[4];
};
