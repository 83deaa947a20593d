#include "view2d/archedit.h"

#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/recta.h"
#include "view2d/archgeom.h"
#include "view2d/rectaview.h"
#include "view2d/undo.h"

CLayer* FindOrAddLayer(CRectaDoc& doc, std::string_view name, COLORREF colour)
{
    CLayer* found = nullptr;
    if (!doc.FindLayer(name, found)) {
        found = doc.AddLayer(colour, 1);
        found->m_name = name;  // the whole name: the shared last-name buffer keeps 23 bytes
    }
    return found;
}

CRecta* AddLineByLayer(CRectaDoc& doc, CRectaView& view, const CPointd& a, const CPointd& b, std::string_view layer,
                       COLORREF colour, int style, int width)
{
    CLayer* found = FindOrAddLayer(doc, layer, colour);
    auto* line = new CRecta(width, found->m_color, layer, 0.0, EXTRUSION_FLAT, 0.0, 0.0, 1.0);
    line->m_style = style;
    line->m_p1 = a;
    line->m_p2 = b;
    const POSITION pos = doc.AppendEntityRecord(new CDib(ENT_LINE, line, found->m_on));
    doc.SetModifiedFlag();
    doc.ExtendAndDrawEntity(ENT_LINE, line);
    view.AddUndoStep(UNDO_ADDED, ENT_LINE, doc.GetEntityRecord(pos), pos);
    return line;
}

bool CutGapInLine(CRectaDoc& doc, CRectaView& view, CRecta& line, CDib& record, POSITION pos, const CPointd& a,
                  const CPointd& b)
{
    if (!pos || doc.FindEntityRecord(&record) != pos || record.m_entity != &line)
        return false;
    const bool aFirst = DistancePoints(line.m_p1, a) <= DistancePoints(line.m_p1, b);
    const CPointd nearer = aFirst ? a : b, farther = aFirst ? b : a;

    view.AddUndoStep(UNDO_CHANGED, ENT_LINE, &record, pos);
    doc.DrawInAllViews(0, &record);
    const CPointd end = line.m_p2;
    line.m_p2 = nearer;
    doc.DrawInAllViews(1, &record);

    auto* rest = new CRecta;
    rest->Copy(line);
    rest->m_p1 = farther;
    rest->m_p2 = end;
    const POSITION restPos = doc.AppendEntityRecord(new CDib(ENT_LINE, rest, record.m_visible));
    doc.SetModifiedFlag();
    doc.DrawInAllViews(1, doc.GetEntityRecord(restPos));
    view.AddUndoStep(UNDO_ADDED, ENT_LINE, doc.GetEntityRecord(restPos), restPos);
    return true;
}

bool SetLineEnds(CRectaDoc& doc, CRectaView& view, CDib& record, POSITION pos, const CPointd& p1,
                 const CPointd& p2)
{
    if (!pos || doc.FindEntityRecord(&record) != pos || record.m_type != ENT_LINE)
        return false;
    auto* line = static_cast<CRecta*>(record.m_entity);
    view.AddUndoStep(UNDO_CHANGED, ENT_LINE, &record, pos);
    doc.DrawInAllViews(0, &record);
    line->m_p1 = p1;
    line->m_p2 = p2;
    doc.DrawInAllViews(1, &record);
    doc.SetModifiedFlag();
    return true;
}

bool EraseEntityWithUndo(CRectaDoc& doc, CRectaView& view, CDib& record, POSITION pos)
{
    if (!pos || doc.FindEntityRecord(&record) != pos)
        return false;
    view.AddUndoStep(UNDO_ERASED, record.m_type, &record, pos);
    doc.DrawInAllViews(0, &record);
    doc.RemoveEntityRecord(pos);
    doc.SetModifiedFlag();
    return true;
}
