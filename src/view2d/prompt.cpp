// Prompt line, cursor readouts, rubber band and cancelling of the plan view.
#include "view2d/rectaview.h"

#include "doc/apphost.h"
#include "doc/rectadoc.h"
#include "model/geometry.h"
#include "model/strutil.h"
#include "platform/imagedc.h"
#include "res/commands.h"

void CRectaView::ShowPrompt(int pane, const std::string& text)
{
    if (pane == 0)
        m_prompt = text.substr(0, kPromptMax);
    else if (pane == 2)
        m_readout = text;
    // A drawing that is not the active one keeps its texts until it is.
    if (const CRectaDoc* doc = GetDocument(); !doc || AppHost().IsActiveDrawing(*doc))
        AppHost().SetPaneText(pane, text);
}

void CRectaView::ShowSelectPrompt()
{
    std::string text = kSelectPrompt;
    text.resize(27, ' ');
    ShowPrompt(0, text);
}

void CRectaView::ClearPrompt()
{
    ShowPrompt(0, std::string(kPromptMax, ' '));
}

void CRectaView::ShowCoords(const CPointd& p)
{
    const CRectaDoc* doc = GetDocument();
    std::string text = "(";
    text += FormatNumber(p.x, doc->m_coordDecimals);
    text += ",";
    text += FormatNumber(p.y, doc->m_coordDecimals);
    ShowPrompt(2, text + ")");
}

void CRectaView::ShowDistAngle(const CPointd& from, const CPointd& to)
{
    const CRectaDoc* doc = GetDocument();
    const double d = Distance2D(from.x, to.x, from.y, to.y);
    const double a = RadToDeg(Angle2D(from.x, from.y, to.x, to.y));
    ShowPrompt(2, "D:" + FormatNumber(d, doc->m_coordDecimals) + "  A:" + FormatNumber(a, doc->m_angleDecimals) + " ");
}

bool CRectaView::BandIsRect() const
{
    return m_command == CMD_PREVIEW_SECOND || m_command == CMD_PRINT_SECOND || m_command == CMD_METAFILE_COPY_SECOND ||
           m_mode == MODE_PICK_WINDOW;
}

void CRectaView::DrawBandOutline(CDC& dc, const CPointd& start, const CPointd& end) const
{
    if (BandIsRect()) {
        InvertRect(dc, start, end);
        return;
    }
    const WorldMap map = Map();
    const LPoint a = map(start), b = map(end);
    CPen* oldPen = dc.SelectObject(StockPen(BLACK_PEN));
    const int oldRop = dc.SetROP2(R2_NOTMERGEPEN);
    dc.MoveTo(a.x, a.y);
    dc.LineTo(b.x, b.y);
    dc.SetROP2(oldRop);
    dc.SelectObject(oldPen);
}

void CRectaView::DrawRubberBand(const CPointd& newPoint, const CPointd& start, const CPointd& end, bool eraseOnly)
{
    if (!ScaleUsable())
        return;
    auto dc = GetClientDC();
    const WorldMap map = Map();
    CPen* oldPen = dc->SelectObject(StockPen(BLACK_PEN));
    const int oldRop = dc->SetROP2(R2_NOTMERGEPEN);
    const LPoint s = map(start), e = map(end);
    dc->MoveTo(s.x, s.y);
    dc->LineTo(e.x, e.y);
    if (!eraseOnly) {
        const LPoint n = map(newPoint);
        dc->MoveTo(s.x, s.y);
        dc->LineTo(n.x, n.y);
    }
    dc->SetROP2(oldRop);
    dc->SelectObject(oldPen);
}

void CRectaView::DrawRubberRect(const CPointd& newPoint, const CPointd& start, const CPointd& end, bool eraseOnly)
{
    if (!ScaleUsable())
        return;
    auto dc = GetClientDC();
    InvertRect(*dc, start, end);
    if (!eraseOnly)
        InvertRect(*dc, start, newPoint);
}

void CRectaView::EraseRubberBand()
{
    // The end-angle band of an arc by angles shows the radius to the centre
    // too; at rest the band lies on that radius and the two cancel out.
    const bool radius = m_mode == MODE_ARC_CSE_3;
    if (ScaleUsable()) {
        auto dc = GetClientDC();
        DrawBandOutline(*dc, m_bandStart, m_bandEnd);
        if (radius)
            DrawBandOutline(*dc, m_bandStart, m_winCorner);
    }
    m_bandEnd = radius ? m_winCorner : m_bandStart;
}

void CRectaView::OverrideOrtho(int ortho)
{
    CRectaDoc* doc = GetDocument();
    if (!m_orthoOverridden)
        doc->m_orthoSave = doc->m_ortho;
    m_orthoOverridden = true;
    doc->m_ortho = ortho;
}

void CRectaView::RestoreOrtho()
{
    if (m_orthoOverridden)
        GetDocument()->m_ortho = GetDocument()->m_orthoSave;
    m_orthoOverridden = false;
}

void CRectaView::OverrideRefAngle(double angle)
{
    if (!m_angleOverridden)
        GetDocument()->m_angleSave = m_refAngle;
    m_angleOverridden = true;
    m_refAngle = angle;
}

void CRectaView::RestoreRefAngle()
{
    if (m_angleOverridden)
        m_refAngle = GetDocument()->m_angleSave;
    m_angleOverridden = false;
}

void CRectaView::CancelCommand()
{
    CloseLineChain();
    // Changes a step made before the cancel (dimension texts moved) stay undoable.
    CloseState();
    m_pointList.DeleteAll();
    RestoreOrtho();
    RestoreRefAngle();
    if (m_bandState == 1)
        EraseRubberBand();
    m_bandState = 0;
    m_mode = 0;
    m_command = CMD_NONE;
    UnhighlightSelection();
    ClearSelection();
    m_typed.clear();
    ClearPrompt();
    CRectaDoc* doc = GetDocument();
    doc->m_selectionFilter = 0;
    if (doc->m_askZ == 1)
        doc->m_askZ = 0;
}

void CRectaView::BeginCommand()
{
    m_lastCommand = m_command;
    m_lastMode = m_mode;
    GetDocument()->SetModifiedFlag();
}
