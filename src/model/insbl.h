// The block insert (type 7): a block placed by name at an insertion point
// with a rotation and two scales.
#pragma once

#include "model/entity.h"
#include "model/geometry.h"
#include "model/pointd.h"

#include <cstdint>
#include <string>

class CBloq;
class CDC;
class CEntityContext;
struct WorldMap;
enum class DrawKind;

// Where an insert puts its block: a block point p goes to
// (x, y) + R(a)·(sx·p.x, sy·p.y), and z to z + p.z.
struct CPlacement {
    double x = 0.0, y = 0.0, z = 0.0;
    double a = 0.0;  // radians, counter-clockwise
    double sx = 1.0, sy = 1.0;

    // True when exactly one scale is negative: the placement mirrors.
    bool Reflects() const { return (sx < 0.0) != (sy < 0.0); }
};

class CInsBl : public CEntity {
    DECLARE_SERIAL(CInsBl)
public:
    CInsBl() = default;
    // Pen style 1; the caller sets block name, insertion point, rotation and scales.
    CInsBl(int width, COLORREF color, std::string_view layer);

    void Copy(const CInsBl& other) { *this = other; }
    CPlacement Placement() const { return {m_insert.x, m_insert.y, m_insert.z, m_rotation, m_sx, m_sy}; }

    // The insert's block of the drawing, placed; nothing is drawn (and 0
    // returned) when the drawing has no block of that name. A placement that
    // covers less than a pixel draws as a point (DrawDot).
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const;
    // One pixel at the drawing point at, with the insert's pen of kind.
    int DrawDot(CDC& dc, const WorldMap& map, DrawKind kind, Pt2 at) const;
    // drawing.FindBlock(m_block), remembered while the drawing's blocks stay as they are.
    const CBloq* FindBlock(const CEntityContext& drawing) const;

    // Pen, layer, block name, rotation, scale x, scale y, insertion point.
    void Serialize(CArchive& ar) override;

    std::string m_block;
    CPointd m_insert;
    double m_rotation = 0.0;
    double m_sx = 1.0;
    double m_sy = 1.0;

private:
    mutable const CBloq* m_found = nullptr;
    mutable std::uint64_t m_foundIn = 0;  // the drawing's block list version m_found was found in
};
