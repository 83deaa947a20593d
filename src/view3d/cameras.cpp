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
