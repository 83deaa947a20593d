// The drawing as other programs see it: a window of it as a picture, and the
// size that picture asks for. The clipboard's picture of an area is one.
#pragma once

#include "model/pointd.h"
#include "platform/dc.h"

class CRectaDoc;

// Aspects of a picture's extent.
inline constexpr int DVASPECT_CONTENT = 1;

class CRectaSrvrItem {
public:
    // The document's current window.
    explicit CRectaSrvrItem(const CRectaDoc& doc);
    // The window with corners a and b (in any order).
    CRectaSrvrItem(const CRectaDoc& doc, const CPointd& a, const CPointd& b);

    // The content's size in hundredths of a millimetre: a drawing unit of the
    // window is a centimetre as a screen of dpi pixels an inch shows it (its
    // pixels a centimetre counted whole). False for other aspects, and for a
    // window too large or not finite.
    bool OnGetExtent(int aspect, LSize& size, int dpi = 96) const;
    // The same size in whole pixels of that screen.
    bool ExtentPixels(LSize& size, int dpi = 96) const;
    // The window fitted into a width x height target, as the plan view shows
    // it; false, with nothing drawn, when it gives no scale.
    bool OnDraw(CDC& dc, int width, int height) const;

private:
    const CRectaDoc& m_doc;
    CPointd m_lo, m_hi;
    bool m_finite;
};
