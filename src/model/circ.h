// The circle (type 2) and arc (type 3) entities.
#pragma once

#include "model/entity.h"
#include "model/pointd.h"

class CDC;
struct WorldMap;
enum class DrawKind;

class CCirc : public CEntity {
    DECLARE_SERIAL(CCirc)
public:
    CCirc() = default;
    // Full constructor; centre and radii are set by the caller.
    CCirc(int width, COLORREF color, std::string_view layer, double thickness, int mode, double dx, double dy,
          double dz);

    void Copy(const CCirc& other) { *this = other; }
    // 1 when the circle crosses the rectangle or lies wholly inside it.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;
    void Serialize(CArchive& ar) override;

    double m_thickness = 0.0;
    CPointd m_centre;
    double m_rx = 0.0;
    double m_ry = 0.0;
    int m_extrusionMode = EXTRUSION_FLAT;
    CPointd m_refPoint;  // where the extruded band starts
    CPointd m_dir{0.0, 0.0, 1.0};
};

class CArc : public CEntity {
    DECLARE_SERIAL(CArc)
public:
    CArc() = default;
    // Full constructor: both thicknesses = thickness, edge mask 0, arc word 1.
    CArc(int width, COLORREF color, std::string_view layer, double thickness, int mode, double dx, double dy,
         double dz);

    void Copy(const CArc& other) { *this = other; }
    CPointd StartPoint() const;
    CPointd EndPoint() const;
    // 1 when the arc crosses the rectangle or its chord lies wholly inside it.
    int IsInRect(double x1, double y1, double x2, double y2) const;
    int Draw(CDC& dc, const WorldMap& map, DrawKind kind) const;
    void Serialize(CArchive& ar) override;

    double m_thick1 = 0.0;
    double m_thick2 = 0.0;
    int m_edgeMask = 0;
    CPointd m_centre;
    double m_rx = 0.0;
    double m_ry = 0.0;
    double m_start = 0.0;  // radians; the arc runs counter-clockwise to m_end
    double m_end = 0.0;
    int m_arcWord = 1;     // 1: followed from start to end, else from end to start
    int m_extrusionMode = EXTRUSION_FLAT;
    CPointd m_refPoint;
    CPointd m_dir{0.0, 0.0, 1.0};
};
