#include "view3d/cameras.h"

#include "doc/rectadoc.h"
#include "model/entitydraw.h"

namespace {

// Half the size of a symbol, in pixels.
constexpr std::int64_t kSymbol = 4;

}  // namespace

void DrawCamara(CDC& dc, const WorldMap& map, const CRectaDoc&, int, const CPointd& p)
{
    const LPoint c = map(p);
    const LPoint square[5] = {{c.x - kSymbol, c.y - kSymbol},
                              {c.x + kSymbol, c.y - kSymbol},
                              {c.x + kSymbol, c.y + kSymbol},
                              {c.x - kSymbol, c.y + kSymbol},
                              {c.x - kSymbol, c.y - kSymbol}};
    dc.Polyline(square, 5);
}

void DrawObjetivo(CDC& dc, const WorldMap& map, const CRectaDoc&, int, const CPointd& p)
{
    const LPoint c = map(p);
    dc.MoveTo(c.x - kSymbol, c.y);
    dc.LineTo(c.x + kSymbol + 1, c.y);
    dc.MoveTo(c.x, c.y - kSymbol);
    dc.LineTo(c.x, c.y + kSymbol + 1);
}

void ShowCamaras(CDC& dc, const WorldMap& map, const CRectaDoc& doc)
{
    CPen solid(PS_SOLID, 1, RGB(0, 0, 255)), dotted(PS_DOT, 1, RGB(0, 0, 255));
    CPen* old = dc.SelectObject(&dotted);
    for (int i = 0; i < 6; ++i) {
        const LPoint a = map(doc.m_cameraEye[i]), b = map(doc.m_cameraTarget[i]);
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    }
    dc.SelectObject(&solid);
    for (int i = 0; i < 6; ++i) {
        DrawCamara(dc, map, doc, i, doc.m_cameraEye[i]);
        DrawObjetivo(dc, map, doc, i, doc.m_cameraTarget[i]);
    }
    dc.SelectObject(old);
}

void DrawEjesIcon(CDC& dc)
{
    constexpr std::int64_t kCorner = 12, kArm = 36, kHead = 5;
    CPen pen(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* old = dc.SelectObject(&pen);
    const LPoint arms[3] = {{kCorner + kArm, kCorner}, {kCorner, kCorner}, {kCorner, kCorner + kArm}};
    dc.Polyline(arms, 3);
    const LPoint xHead[3] = {{kCorner + kArm - kHead, kCorner + kHead}, arms[0], {kCorner + kArm - kHead, kCorner - kHead}};
    const LPoint yHead[3] = {{kCorner - kHead, kCorner + kArm - kHead}, arms[2], {kCorner + kHead, kCorner + kArm - kHead}};
    dc.Polyline(xHead, 3);
    dc.Polyline(yHead, 3);
    const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_BOTTOM);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    dc.TextOut(kCorner + kArm + 3, kCorner, "X");
    dc.TextOut(kCorner + 3, kCorner + kArm + 3, "Y");
    dc.SetBkMode(oldMode);
    dc.SetTextAlign(oldAlign);
    dc.SelectObject(old);
}
