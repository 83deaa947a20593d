// Drawing modes of polylines (10) and dimensions (11 to 14).
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/pline.h"
#include "model/recta.h"

void CRectaView::AddPLineSegment(const CPointd& p)
{
    const CRectaDoc* doc = GetDocument();
    CRecta* seg = NewBlockRecta(doc->m_penWidth, doc->m_color, doc->m_layerName, m_bandStart, p);
    m_workEntity = seg;
    ShowNew(ENT_LINE, seg);
}

void CRectaView::ClosePLineChain()
{
    // A chain without a segment makes no polyline.
    if (m_mode != MODE_PLINE || m_blockList.IsEmpty())
        return;
    CRectaDoc* doc = GetDocument();
    doc->AddPLine(m_blockList);
    m_workEntity = nullptr;
    AddUndoStep(1, ENT_PLINE, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
    SaveUndoState();
    ClearPendingSteps();
}

void CRectaView::PickDimensionCurve(POSITION pos, CObject* entity, int type, const CPointd& p)
{
    ClearPrompt();
    if (!pos || (type != ENT_CIRCLE && type != ENT_ARC))
        return;
    m_pickedEntity = entity;
    m_pickedType = type;
    m_pickedSerial = RecordAt(pos)->m_serial;
    m_firstPoint = p;
    ShowPrompt(0, "Position:");
    m_mode = MODE_DIM_RADIAL;
}

void CRectaView::DimensionPoint(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    switch (m_mode) {
    case MODE_DIM_LINEAR:
        m_firstPoint = p;
        m_mode = MODE_DIM_LINEAR_2;
        ShowPrompt(0, "To point:");
        return;
    case MODE_DIM_LINEAR_2:
        m_secondPoint = p;
        m_mode = MODE_DIM_LINEAR_3;
        ShowPrompt(0, "Position:");
        return;
    case MODE_DIM_LINEAR_3: {
        CAcot* dim =
            doc->AddLinearDim(doc->m_penWidth, doc->m_color, doc->m_layerName, m_firstPoint, m_secondPoint, p);
        ShowNew(ENT_DIMENSION, dim);
        RecordAdded(ENT_DIMENSION);
        break;
    }
    case MODE_DIM_RADIAL: {
        // The curve may have left the drawing since it was picked.
        const CDib* record = LiveRecord(m_pickedSerial, m_pickedEntity);
        if (record && (record->m_type == ENT_CIRCLE || record->m_type == ENT_ARC)) {
            CAcot* dim = doc->AddRadialDim(doc->m_penWidth, doc->m_color, doc->m_layerName, m_pickedEntity,
                                           m_pickedType, m_firstPoint, p);
            ShowNew(ENT_DIMENSION, dim);
            RecordAdded(ENT_DIMENSION);
        }
        m_pickedEntity = nullptr;
        break;
    }
    default: return;
    }
    ClearPrompt();
    m_mode = 0;
}

CPLine* CRectaView::NewBlockPLine(int width, COLORREF color, std::string_view layer, CObList& segments)
{
    const CRectaDoc* doc = GetDocument();
    auto* pl = doc->NewPLine(width, color, layer, segments);
    m_blockList.AddTail(new CDib(ENT_PLINE, pl, doc->GetLayerVisibility(pl->m_layer)));
    return pl;
}

CAcot* CRectaView::NewBlockAcot(int width, COLORREF color, std::string_view layer, CObList& parts)
{
    auto* dim = new CAcot(width, color, layer, parts);
    m_blockList.AddTail(new CDib(ENT_DIMENSION, dim, GetDocument()->GetLayerVisibility(dim->m_layer)));
    return dim;
}
