// Working planes: the plan view shows the drawing in the coordinates of a
// plane other than the ground, and goes back to the world.
#include "view2d/rectaview.h"

#include "dialogs/planedlg.h"
#include "doc/rectadoc.h"
#include "model/ucs.h"
#include "view2d/undo.h"

namespace {

// Undo steps name records by the coordinates they had: a plane change ends every history.
void ClearUndoHistories(CRectaDoc& doc)
{
    for (CView* v : doc.GetViews())
        if (auto* plan = dynamic_cast<CRectaView*>(v))
            FreeUndoHistory(*plan);
}

}  // namespace

void CRectaView::ToPlanePoint(CPointd& p) const
{
    GetDocument()->ToPlanePoint(p);
}

void CRectaView::ToWorldPoint(CPointd& p) const
{
    GetDocument()->ToWorldPoint(p);
}

bool CRectaView::SetWorkingPlane(const CPointd& origin, const CPointd& xPoint, const CPointd& third, const CPointd&,
                                 int mode)
{
    CRectaDoc* doc = GetDocument();
    // Points given in a plane in force are in its coordinates.
    CPointd o = origin, p = xPoint, q = third;
    if (doc->m_ucsActive)
        for (CPointd* point : {&o, &p, &q})
            ToWorldPoint(*point);
    double axes[3][3];
    if (!PlaneAxes(mode, o, p, q, axes)) {
        ShowPrompt(0, "The points do not define a plane");
        return false;
    }
    if (mode == PLANE_THREE_POINTS) {
        double above = 0.0, below = 0.0;
        if (DoUCSOBJDlg(above, below) < 1)
            return false;
    }
    if (doc->m_ucsActive)
        ToWorldSystem();
    doc->EnterPlane(o, axes);
    ClearUndoHistories(*doc);
    doc->UpdateAllViews(nullptr);
    return true;
}

void CRectaView::ToWorldSystem()
{
    CRectaDoc* doc = GetDocument();
    if (doc->LeavePlane())
        ClearUndoHistories(*doc);
    doc->UpdateAllViews(nullptr);
}
