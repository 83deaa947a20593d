// Stretch: the selection pulled by the last selection window.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/transform.h"
#include "view2d/pickkind.h"
#include "view2d/undo.h"

void CRectaView::StretchSelection()
{
    CRectaDoc* doc = GetDocument();
    StretchWindow w;
    w.q[0] = {m_winCorner.x, m_winCorner.y};
    w.q[1] = {m_winCorner2.x, m_winCorner.y};
    w.q[2] = {m_winCorner2.x, m_winCorner2.y};
    w.q[3] = {m_winCorner.x, m_winCorner2.y};
    w.textDistance = doc->m_dimParams[3];
    w.decimals = doc->m_coordDecimals;
    RecordSelectionUndo(UNDO_CHANGED);
    for (CDib* record : SelectedRecords()) {
        doc->DrawInAllViews(0, record);
        // What crosses the window without lying in it is stretched, when its
        // kind stretches; everything else moves whole.
        const CPickKind& kind = PickKind(record->m_type);
        const bool stretched = kind.inSelWindow(record->m_entity, w.q, 1, *doc) &&
                               !kind.inSelWindow(record->m_entity, w.q, 0, *doc) &&
                               StretchEntity(record->m_type, record->m_entity, m_firstPoint, m_secondPoint, w);
        if (!stretched)
            MoveEntity(record->m_type, record->m_entity, m_firstPoint, m_secondPoint);
        doc->DrawInAllViews(1, record);
    }
    doc->SetModifiedFlag();
    CloseState();
    ClearSelection();
}
