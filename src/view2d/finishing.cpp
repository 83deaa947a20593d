// The steps that finish the raster hatch and bitmap commands.
#include "view2d/rectaview.h"

#include "dialogs/hatchbmpdlg.h"
#include "doc/rectadoc.h"
#include "model/bmp.h"
#include "model/hatch.h"

void CRectaView::FinishSolidHatch(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    COLORREF colour = 0;
    if (!doc || RunColorDlg(colour) != 1)
        return;
    doc->AddHatchOnLayer(1, colour, doc->m_layerName, HATCH_SOLID, p);
    RecordAdded(ENT_HATCH);
    doc->DrawInAllViews(1, doc->GetLastEntityRecord());
}

void CRectaView::FinishBitmapHatch(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    if (!doc)
        return;
    const bool wasModified = doc->IsModified();
    CHatch* hatch = doc->AddHatchOnLayer(1, 0, doc->m_layerName, HATCH_PATTERN, p);
    if (RunPrevHtDlgEx(*hatch) != 1) {
        // Nothing was chosen: the hatch goes again, and the drawing is as it was.
        const POSITION last = doc->GetLastEntityPosition();
        CDib* record = doc->GetEntityRecord(last);
        doc->RemoveEntityRecord(last);
        delete record;
        doc->SetModifiedFlag(wasModified);
        return;
    }
    RecordAdded(ENT_HATCH);
    doc->DrawInAllViews(1, doc->GetLastEntityRecord());
}

void CRectaView::FinishBitmap(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    std::string file;
    double width = 1.0, height = 1.0;
    if (!doc || RunBitmapDlgEx(file, width, height) != 1)
        return;
    doc->AddBmpOnLayer(1, 0, doc->m_layerName, file, p, width, height);
    RecordAdded(ENT_BITMAP);
    doc->DrawInAllViews(1, doc->GetLastEntityRecord());
}
