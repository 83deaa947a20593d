// The point entity (type 4), shown as an upright cross.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"

class CDC;
class CEntityContext;
struct WorldMap;
enum class DrawKind;

class CPunt : public CEntity {
    DECLARE_SERIAL(CPunt)
public:
    CPunt() = default;
    // Full constructor; the point is set by the caller.
    CPunt(int width, COLORREF color, std::string_view layer) : CEntity(width, color, layer) {}

    void Copy(const CPunt& other) { *this = other; }
    int IsInRect(double x1, double y1, double x2, double y2) const;
    // The cross is as wide and as high as the drawing's point display height.
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind, const CEntityContext& drawing) const;
    void Serialize(CArchive& ar) override;

    CPointd m_point;
};
