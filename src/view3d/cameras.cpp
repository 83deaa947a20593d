#include "view3d/cameras.h"

#include "dialogs/dlgform.h"
#include "doc/rectadoc.h"
#include "model/entitydraw.h"
#include "view2d/rectaview.h"

#include <string>
#include <vector>

namespace {

// Half the size of a symbol, in pixels.
constexpr std::int64_t kSymbol = 4;

int ChooseIndex(CRectaView* view, const char* templateName, const char* title, const char* label, int word)
{
    if (!view)
        return -1;
    CRectaDoc* doc = view->GetDocument();
    std::vector<std::string> items;
    for (int i = 1; i <= 6; ++i)
        items.push_back(std::string(label) + " " + std::to_string(i));
    Form f{templateName, title};
    const int current = doc->m_toolWords[word];
    f.AddList("index", std::string(label) + ":", items, current >= 0 && current < 6 ? current : 0);
    const int result = RunForm(f);
    if (result == 1 && f.Index("index") >= 0)
        doc->m_toolWords[word] = f.Index("index");
    return result;
}

}  // namespace

int DoSelCamaraDlg(CRectaView* view)
{
    return ChooseIndex(view, "SELCAMARA", "Cameras", "Camera", TW_CAMERA);
}

int DoSelecLuzDlg(CRectaView* view)
{
    return ChooseIndex(view, "SELLUZ", "Lights", "Light", TW_LIGHT);
}

void DrawCamara(CDC& dc, double scale, double ox, double oy, const CRectaDoc&, int, const CPointd& p)
{
    const LPoint c = WorldMap{scale, ox, oy}(p);
    const LPoint square[5] = {{c.x - kSymbol, c.y - kSymbol},
                              {c.x + kSymbol, c.y - kSymbol},
                              {c.x + kSymbol, c.y + kSymbol},
                              {c.x - kSymbol, c.y + kSymbol},
                              {c.x - kSymbol, c.y - kSymbol}};
    dc.Polyline(square, 5);
}

void DrawObjetivo(CDC& dc, double scale, double ox, double oy, const CRectaDoc&, int, const CPointd& p)
{
    const LPoint c = WorldMap{scale, ox, oy}(p);
    dc.MoveTo(c.x - kSymbol, c.y);
    dc.LineTo(c.x + kSymbol + 1, c.y);
    dc.MoveTo(c.x, c.y - kSymbol);
    dc.LineTo(c.x, c.y + kSymbol + 1);
}

void ShowCamaras(CDC& dc, double scale, double ox, double oy, const CRectaDoc& doc)
{
    const WorldMap map{scale, ox, oy};
    CPen solid(PS_SOLID, 1, RGB(0, 0, 255)), dotted(PS_DOT, 1, RGB(0, 0, 255));
    CPen* old = dc.SelectObject(&dotted);
    for (int i = 0; i < 6; ++i) {
        const LPoint a = map(doc.m_cameraEye[i]), b = map(doc.m_cameraTarget[i]);
        dc.MoveTo(a.x, a.y);
        dc.LineTo(b.x, b.y);
    }
    dc.SelectObject(&solid);
    for (int i = 0; i < 6; ++i) {
        DrawCamara(dc, scale, ox, oy, doc, i, doc.m_cameraEye[i]);
        DrawObjetivo(dc, scale, ox, oy, doc, i, doc.m_cameraTarget[i]);
    }
    dc.SelectObject(old);
}
