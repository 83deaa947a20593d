// A region of device pixels: even-odd polygons joined and cut, filled by a DC.
#pragma once

#include "platform/dc.h"

#include <QPainterPath>

class CRgn {
public:
    // The polygon of device points, inside by the even-odd rule. Points far
    // off any device are cut back first, so the region stays exact wherever
    // a device can show it. False, and the region left empty, for fewer than three points.
    bool CreatePolygonRgn(const LPoint* pts, int count);
    // this := this united with other.
    void Unite(const CRgn& other);
    // this := a minus b.
    void Subtract(const CRgn& a, const CRgn& b);
    bool IsEmpty() const { return m_path.isEmpty(); }
    const QPainterPath& Path() const { return m_path; }

private:
    QPainterPath m_path;
};
