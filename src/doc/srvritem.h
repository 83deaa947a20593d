// The drawing as other programs see it: the item that stands for a drawing
// embedded in another document (its data and its picture), and a window of a
// drawing as a picture of its own, which the clipboard's area copy is.
#pragma once

#include "model/pointd.h"
#include "platform/metafile.h"
#include "platform/oleserver.h"

class CRectaDoc;

class CRectaSrvrItem : public COleServerItem {
public:
    explicit CRectaSrvrItem(CRectaDoc* doc);

    CRectaDoc* GetDocument() const;

    // The whole drawing file when the item is its document's embedded item;
    // nothing otherwise.
    void Serialize(CArchive& ar) override;
    // The content: the document's current window at a centimetre a drawing
    // unit on a screen of 96 pixels an inch, in hundredths of a millimetre
    // (see CWindowPicture). False for a window too large or not finite. Other
    // aspects: the base's answer.
    bool OnGetExtent(int aspect, LSize& size) override;
    // The document's current window drawn as its first plan view shows it
    // (that view's origin and zoom state), 100 logical units a drawing unit,
    // in a window of those units, y up, that CMetaFile::Play fits to the
    // target: records whose visible and flag words are 1 and that lie in the
    // window (all of them while the view zooms to the extents), then the
    // hatches whose layer is on and that lie in the window. False, with
    // nothing drawn, without a plan view or for a window without width or
    // height, not finite, or wider or higher than 2^31 - 1 units.
    bool OnDraw(CDC& dc, LSize& size) override;
};

// The window a-b of a drawing as a picture: a drawing unit a centimetre on a
// screen, 100 logical units a drawing unit, the window's lower-left corner at
// logical (0, 0), y up.
class CWindowPicture {
public:
    CWindowPicture(const CRectaDoc& doc, const CPointd& a, const CPointd& b);

    // The size in whole pixels of a screen of dpi pixels an inch, its pixels
    // a centimetre counted whole. False for a window too large (over 100000
    // pixels) or not finite.
    bool ExtentPixels(LSize& size, int dpi = 96) const;
    // The same in hundredths of a millimetre.
    bool ExtentHimetric(LSize& size, int dpi = 96) const;
    // The window drawn as the plan view shows it; empty for a window without
    // width or height, not finite, or too large for its logical units.
    CMetaFile Record() const;

private:
    const CRectaDoc& m_doc;
    CPointd m_lo, m_hi;
    bool m_finite;
};
