// The commands on two picked lines: fillet (a sharp corner or a tangent arc),
// unify and the circle of a radius tangent to both.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/recta.h"
#include "view2d/archedit.h"
#include "view2d/lineedit.h"
#include "view2d/undo.h"

namespace {

const CRecta& LineOf(const CDib* record)
{
    return *static_cast<const CRecta*>(record->m_entity);
}

}  // namespace

bool CRectaView::TwoSelectedLinesCorner(const char* command, CDib*& first, CDib*& second, Pt2& corner)
{
    if (!TwoSelectedLines(first, second))
        return false;
    if (IntersectRectas(LineOf(first), LineOf(second), 0, corner))
        return true;
    m_command = CMD_NONE;
    ShowPrompt(0, std::string(command) + ": the lines are parallel");
    return false;
}

void CRectaView::FilletLines(bool withRadius)
{
    CDib* first = nullptr;
    CDib* second = nullptr;
    Pt2 corner;
    if (!TwoSelectedLinesCorner("Fillet", first, second, corner))
        return;
    CRectaDoc* doc = GetDocument();
    const CRecta& l1 = LineOf(first);
    const CRecta& l2 = LineOf(second);
    const double r = withRadius ? RunRadioDlgEx() : 0.0;
    if (RadiusRefused(r))
        return;

    // Each line keeps the side of the corner it was picked on.
    CRecta cornered[2];
    cornered[0].Copy(l1);
    cornered[1].Copy(l2);
    CornerEnds(l1, corner, Plan(m_firstPoint), cornered[0].m_p1, cornered[0].m_p2);
    CornerEnds(l2, corner, Plan(m_secondPoint), cornered[1].m_p1, cornered[1].m_p2);
    CArc* arc = r > 0.0 ? FilletArc(*doc, cornered[0], cornered[1], corner, r) : nullptr;
    if (r > 0.0 && !arc)
        ShowPrompt(0, "Fillet: the radius does not fit");
    const std::pair<CDib*, int> lines[] = {{first, 0}, {second, 1}};
    for (auto [record, i] : lines) {
        const CRecta& l = LineOf(record);
        const CRecta& to = cornered[i];
        if (!(l.m_p1 == to.m_p1 && l.m_p2 == to.m_p2))
            SetLineEnds(*doc, *this, *record, doc->FindEntityRecord(record), to.m_p1, to.m_p2);
    }
    if (arc) {
        ShowNew(ENT_ARC, arc);
        AddUndoStep(UNDO_ADDED, ENT_ARC, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
    }
}

void CRectaView::UnifyLines()
{
    CDib* first = nullptr;
    CDib* second = nullptr;
    if (!TwoSelectedLines(first, second))
        return;
    CRectaDoc* doc = GetDocument();
    if (!JoinLinesInLine(*doc, *this, *first, doc->FindEntityRecord(first), *second, doc->FindEntityRecord(second)))
        ShowPrompt(0, "Unify: the lines are not in line");
}

void CRectaView::CircleTanTanRadius()
{
    CDib* first = nullptr;
    CDib* second = nullptr;
    Pt2 corner;
    if (!TwoSelectedLinesCorner("Tangent circle", first, second, corner))
        return;
    const CRecta& l1 = LineOf(first);
    const CRecta& l2 = LineOf(second);
    const double r = RunRadioDlgEx();
    if (!(r > 0.0) || RadiusRefused(r))
        return;
    // Each line runs from its end nearer the corner (P2 when both are as near) to the other.
    auto away = [&](const CRecta& l) {
        const bool fromP1 = Distance2D(Plan(l.m_p1), corner) < Distance2D(Plan(l.m_p2), corner);
        return fromP1 ? Bearing(Plan(l.m_p1), Plan(l.m_p2)) : Bearing(Plan(l.m_p2), Plan(l.m_p1));
    };
    auto length = [](const CRecta& l) { return Distance2D(Plan(l.m_p1), Plan(l.m_p2)); };
    CornerCircle c;
    if (!CircleInCorner(corner, away(l1), away(l2), r, c) || c.t > length(l1) || c.t > length(l2)) {
        ShowPrompt(0, "Tangent circle: the radius does not fit");
        return;
    }
    CRectaDoc* doc = GetDocument();
    CCirc* circle = doc->AddCirc();
    circle->m_centre = CPointd(c.centre.x, c.centre.y, OnCarrier(l1, corner).z);
    circle->m_rx = circle->m_ry = r;
    ShowNew(ENT_CIRCLE, circle);
    AddUndoStep(UNDO_ADDED, ENT_CIRCLE, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
}
