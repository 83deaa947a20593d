// A region of device pixels: even-odd polygons joined and cut, filled by a DC.
#pragma once

#include "platform/dc.h"

#include <QPainterPath>

#include <span>

class CRgn {
public:
    // The polygon of device points, inside by the even-odd rule. Points far
    // off any device are cut back first, so the region stays exact wherever
    // a device can show it. False, and the region left empty, for fewer than three points.
    bool CreatePolygonRgn(const LPoint* pts, int count);
    // Several polygons (counts[i] points each, taken in turn from pts) as one
    // region, inside by the winding rule or else by the even-odd rule, each
    // cut back like one polygon. False, and the region left empty, when a
    // polygon has fewer than three points or the counts ask for more points
    // than there are.
    bool CreatePolyPolygonRgn(std::span<const LPoint> pts, std::span<const int> counts, bool winding);
    // The boxes, which must not overlap, as one region.
    void CreateBoxesRgn(std::span<const LRect> boxes);
    // True when the region is inside by the winding rule, false for even-odd.
    bool IsWinding() const { return m_path.fillRule() == Qt::WindingFill; }
    // this := this united with other.
    void Unite(const CRgn& other);
    // this := a minus b.
    void Subtract(const CRgn& a, const CRgn& b);
    bool IsEmpty() const { return m_path.isEmpty(); }
    const QPainterPath& Path() const { return m_path; }

private:
    QPainterPath m_path;
};
