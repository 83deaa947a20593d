// The click state machine: left button, drawing modes, right button and mouse move.
#include "view2d/rectaview.h"

#include "dialogs/archdlg.h"
#include "dialogs/rundlg.h"
#include "dialogs/stepdlg.h"
#include "doc/rectadoc.h"
#include "model/circ.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/pointlist.h"
#include "model/punt.h"
#include "model/recta.h"
#include "model/text.h"
#include "platform/imagedc.h"
#include "view2d/clipboard.h"
#include "view2d/snap.h"
#include "view2d/viewtools.h"

#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Within the drawing's range in the plan, with an elevation of some value.
bool InRange(const CPointd& p)
{
    return InCoordinateRange(Pt2{p.x, p.y}) && std::isfinite(p.z);
}

}  // namespace

bool CRectaView::RadiusRefused(double r)
{
    if (InCoordinateRange(r))
        return false;
    ShowPrompt(0, kRadiusOutOfRange);
    return true;
}

void CRectaView::OnLButtonDown(unsigned flags, CPoint point)
{
    if (!ScaleUsable())
        return;
    // A click on an embedded object selects it and may move or resize it; it goes no further.
    if (!m_aerial && ClickOnItem(point))
        return;
    if (m_aerial && m_zoomState == 0) {
        m_savedPrompt = m_prompt;
        m_zoomState = 1;
    }
    if (m_zoomState == 1) {
        if (!m_aerial && m_bandState == 1)
            EraseRubberBand();
        m_zoomState = 2;
        m_reqMin = DeviceToWorld(point);
        m_zoomDrag = m_reqMin;
        ShowPrompt(0, "Other corner:              ");
        return;
    }
    if (m_zoomState == 2) {
        m_zoomState = 0;
        m_reqMax = DeviceToWorld(point);
        {
            auto dc = GetClientDC();
            InvertRect(*dc, m_reqMin, m_zoomDrag);
        }
        ApplyWindow();
        m_prompt = m_savedPrompt;
        ShowPrompt(0, m_prompt);
        return;
    }
    if (!m_aerial)
        ClickAt(flags, DeviceToWorld(point));
}

void CRectaView::ClickAt(unsigned flags, CPointd p)
{
    if (m_pickLine == 1) {
        m_savedMode = m_mode;
        m_mode = MODE_PICK;
    }
    if (m_mode >= MODE_PICK) {
        DispatchPick(p);
        if (m_mode >= MODE_PICK) {
            if (m_pickLine == 1)
                m_mode = m_savedMode;  // a missed line leaves the command as it was
            return;
        }
    }
    if (m_pickLine == 1) {
        m_pickLine = 0;
        m_mode = m_savedMode;
        return;
    }
    if (flags == (MK_LBUTTON | MK_SHIFT)) {
        RunModoAproxDlg(m_snapMode);
        return;
    }
    if (flags == (MK_LBUTTON | MK_CONTROL)) {
        // Without a usable distance the click stays where it is.
        if (RunDistanciaDlg(m_fixedDistance) == 1 && m_fixedDistance > 0.0 && InCoordinateRange(m_fixedDistance))
            ApplyDistance(p);
        m_fixedDistance = 0.0;
    } else if (m_fixedDistance > 0.0 && m_command != CMD_OFFSET_SIDE) {
        ApplyDistance(p);
        m_fixedDistance = 0.0;
    }
    if (m_command == CMD_COPY_TO_CLIPBOARD)
        return;
    if (m_command == CMD_WINDOW_IN_WALL || m_command == CMD_ENCLOSURE) {
        // Both act on the wall line just picked, unless it has left the drawing.
        CDib* record = LiveRecord(m_pickedLineSerial, m_pickedLine);
        auto* wall = record ? static_cast<CRecta*>(record->m_entity) : nullptr;
        if (!wall || m_command == CMD_ENCLOSURE) {
            ClearPrompt();
            UnhighlightSelection();
            if (wall)
                ViewTools().MakeEnclosure(*GetDocument(), *this, wall, p);
            ClearSelection();
            m_command = CMD_NONE;
            m_mode = 0;
            return;
        }
        p = CPointd((wall->m_p1.x + wall->m_p2.x) / 2.0, (wall->m_p1.y + wall->m_p2.y) / 2.0);
    }
    p.z = GetDocument()->m_currentZ;
    m_current = p;
    ProcessPoint();
}

void CRectaView::ProcessPoint()
{
    CRectaDoc* doc = GetDocument();
    CPointd p = m_current;
    m_typed.clear();
    if (m_mode < MODE_PICK && doc->m_askZ > 0) {
        double z = p.z;
        if (RunCoordenadaZDlg(z) == 1)
            p.z = z;
        if (doc->m_askZ == 1)
            doc->m_askZ = 0;
    }
    if (RunUnsnappedStep(p))
        return;
    if (m_mode < MODE_PICK && m_snapMode == 0 && doc->m_gridStep > 0.0 && m_refPointState == 0)
        SnapToGrid(p, doc->m_gridStep);
    if (doc->m_ortho == 1 && m_snapMode == 0 &&
        (TakesFollowingPoint(m_command) || m_bandState != 0 || m_refPointState == 2))
        ApplyOrtho(m_bandStart.x, m_bandStart.y, p.x, p.y);
    if (m_refPointState == 2)
        m_refPointState = 0;
    if (m_mode < MODE_PICK && m_snapMode != 0) {
        // The snap shows its name on the prompt line; what was there comes back either way.
        m_savedPrompt = m_prompt;
        const int hit = OnEditPoint(p);
        m_prompt = m_savedPrompt;
        ShowPrompt(0, m_prompt);
        if (!m_keepSnapMode)
            m_snapMode = 0;
        if (!hit)
            return;
    }
    if (m_refPointState == 1) {
        m_refPointState = 2;
        m_bandStart = p;
        ClearPrompt();
        return;
    }
    if (!InRange(p)) {
        ShowPrompt(0, kPointOutOfRange);
        return;
    }
    m_current = p;
    if (RunCommandStep(p))
        return;
    if (m_mode == MODE_NONE)
        return;
    if (m_bandState == 2)
        m_bandState = 0;
    DrawPoint(p);
}

void CRectaView::RecordAdded(int type)
{
    CRectaDoc* doc = GetDocument();
    AddUndoStep(1, type, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
    SaveUndoState();
    ClearPendingSteps();
}

void CRectaView::ShowNew(int type, CObject* entity)
{
    GetDocument()->ExtendAndDrawEntity(type, entity);
}

void CRectaView::EndDrawingCommand()
{
    m_mode = 0;
    m_command = CMD_NONE;
    ClearPrompt();
    m_bandState = 0;
}

void CRectaView::DrawPoint(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    switch (m_mode) {
    case MODE_CIRCLE: {
        double r = 0.0;
        if (m_bandState == 0) {
            // Cancel drops the click; a radius of 0 asks for a point on the circle.
            if (RunRadioDlg(r) != 1 || !(r >= 0.0) || RadiusRefused(r))
                return;
            m_bandStart = p;
            m_bandState = 1;
            if (r == 0.0) {
                ShowPrompt(0, "Other point for radius:");
                m_bandEnd = p;
                return;
            }
        } else {
            r = Distance2D(m_bandStart.x, p.x, m_bandStart.y, p.y);
            if (r == 0.0 || RadiusRefused(r))
                return;
            EraseRubberBand();
        }
        CCirc* c = doc->AddCirc();
        c->m_centre = m_bandStart;
        c->m_rx = c->m_ry = r;
        ShowNew(ENT_CIRCLE, c);
        EndDrawingCommand();
        RecordAdded(ENT_CIRCLE);
        return;
    }
    case MODE_POINT: {
        CPunt* pt = doc->AddPunt();
        pt->m_point = p;
        ShowNew(ENT_POINT, pt);
        EndDrawingCommand();
        RecordAdded(ENT_POINT);
        return;
    }
    case MODE_CIRCLE3:
    case MODE_ARC3:
        ShowPrompt(0, "Second Point:");
        m_firstPoint = p;
        m_mode = m_mode == MODE_CIRCLE3 ? MODE_CIRCLE3_2 : MODE_ARC3_2;
        return;
    case MODE_CIRCLE3_2:
    case MODE_ARC3_2:
        ShowPrompt(0, "Third Point:");
        m_secondPoint = p;
        m_mode = m_mode == MODE_CIRCLE3_2 ? MODE_CIRCLE3_3 : MODE_ARC3_3;
        return;
    case MODE_CIRCLE3_3:
    case MODE_ARC3_3: {
        m_bandStart = p;
        Pt2 centre;
        if (CircleFrom3Points({m_firstPoint.x, m_firstPoint.y}, {m_secondPoint.x, m_secondPoint.y}, {p.x, p.y},
                              centre)) {
            const double r = Distance2D(p.x, centre.x, p.y, centre.y);
            if (!InCoordinateRange(r)) {
                EndDrawingCommand();
                ShowPrompt(0, kRadiusOutOfRange);
                return;
            }
            if (m_mode == MODE_CIRCLE3_3) {
                CCirc* c = doc->AddCirc();
                c->m_centre = CPointd(centre.x, centre.y, p.z);
                c->m_rx = c->m_ry = r;
                ShowNew(ENT_CIRCLE, c);
                RecordAdded(ENT_CIRCLE);
            } else {
                CArc* a = doc->AddArc();
                a->m_centre = CPointd(centre.x, centre.y, p.z);
                a->m_rx = a->m_ry = r;
                // Counter-clockwise from the first point, or from the third when
                // that way misses the second.
                a->m_start = Angle2D(centre.x, centre.y, m_firstPoint.x, m_firstPoint.y);
                a->m_end = Angle2D(centre.x, centre.y, p.x, p.y);
                if (!AngleInArc(a->m_start, a->m_end, Angle2D(centre.x, centre.y, m_secondPoint.x, m_secondPoint.y)))
                    std::swap(a->m_start, a->m_end);
                ShowNew(ENT_ARC, a);
                RecordAdded(ENT_ARC);
            }
        }
        EndDrawingCommand();
        return;
    }
    case MODE_ARC_CSE:
        m_mode = MODE_ARC_CSE_2;
        ShowPrompt(0, "Point for Init.Angle");
        m_winCorner = m_bandStart = m_bandEnd = p;
        m_bandState = 1;
        return;
    case MODE_ARC_CSE_2:
        EraseRubberBand();
        m_mode = MODE_ARC_CSE_3;
        ShowPrompt(0, "Point for End Angle");
        m_firstPoint = p;
        m_bandStart = p;
        m_bandEnd = m_winCorner;
        m_bandState = 1;
        return;
    case MODE_DIM_LINEAR:
    case MODE_DIM_LINEAR_2:
    case MODE_DIM_LINEAR_3:
    case MODE_DIM_RADIAL: DimensionPoint(p); return;
    case MODE_ARC_CSE_3: {
        EraseRubberBand();
        m_mode = 0;
        m_bandState = 0;
        ClearPrompt();
        m_secondPoint = p;
        ArcCentreAngles(m_winCorner, m_firstPoint, m_secondPoint);
        return;
    }
    default: break;
    }

    ShowPrompt(0, "To point:");
    if (m_mode == MODE_TEXT) {
        PlaceText(p);
        return;
    }
    if (m_bandState == 1) {
        // A click on the chain's last point adds no zero-length line.
        if (p.x == m_bandStart.x && p.y == m_bandStart.y)
            return;
        EraseRubberBand();
        if (m_mode == MODE_LINE) {
            CRecta* l = doc->AddRecta();
            l->m_p1 = m_bandStart;
            l->m_p2 = p;
            m_workEntity = l;
            SelectEntity(1, doc->GetLastEntityPosition());
            doc->ExtendAndDrawEntity(ENT_LINE, l);
        } else if (m_mode == MODE_PLINE) {
            AddPLineSegment(p);
        }
        m_bandStart = m_bandEnd = p;
        return;
    }
    m_bandStart = m_bandEnd = p;
    m_bandState = 1;
}

void CRectaView::ArcCentreAngles(const CPointd& centre, const CPointd& startPoint, const CPointd& endPoint)
{
    const double r = RunRadioDlgEx();
    if (!(r > 0.0) || RadiusRefused(r))
        return;
    CArc* a = GetDocument()->AddArc();
    a->m_centre = centre;
    a->m_rx = a->m_ry = r;
    a->m_start = Angle2D(centre.x, centre.y, startPoint.x, startPoint.y);
    a->m_end = Angle2D(centre.x, centre.y, endPoint.x, endPoint.y);
    ShowNew(ENT_ARC, a);
    RecordAdded(ENT_ARC);
}

void CRectaView::PlaceText(const CPointd& at)
{
    CRectaDoc* doc = GetDocument();
    LOGFONT font = doc->m_textFont;
    std::string text;
    COLORREF colour = 0;
    if (RunTextoDlgEx(text, font, colour) != 1) {
        m_mode = 0;
        m_command = CMD_NONE;
        ClearPrompt();
        return;
    }
    constexpr std::size_t kChunk = 40;
    CPointd pos = at;
    for (std::size_t k = 0; k * kChunk < text.size() && k < 6; ++k) {
        const std::string chunk = text.substr(k * kChunk, kChunk);
        if (chunk.find_first_not_of(' ') == std::string::npos)
            break;
        CText* t = doc->AddText();
        t->m_text = chunk;
        if (colour != 0)
            t->m_color = colour;
        t->m_font = font;
        t->m_justify = m_textAlign;
        t->m_insert = pos;
        ShowNew(ENT_TEXT, t);
        AddUndoStep(1, ENT_TEXT, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
        const double step = 1.4 * std::abs(font.lfHeight) / 100.0;
        pos = CPointd(PolarX(pos.x, step, 3 * kPi / 2), PolarY(pos.y, step, 3 * kPi / 2), pos.z);
    }
    SaveUndoState();
    ClearPendingSteps();
    m_mode = 0;
    m_command = CMD_NONE;
    ClearPrompt();
}

void CRectaView::CloseLineChain()
{
    ClosePLineChain();
    if (m_mode != MODE_LINE || m_selection.IsEmpty())
        return;
    RecordSelectionUndo(1);
    SaveUndoState();
    ClearPendingSteps();
    ClearSelection();
}

void CRectaView::EraseSelection()
{
    CRectaDoc* doc = GetDocument();
    RecordSelectionUndo(-1);
    for (POSITION node = GetFirstSelectedPosition(); node;) {
        const CSelEntry* entry = GetNextSelected(node);
        const POSITION pos = doc->FindEntityBySerial(entry->m_serial);
        if (!pos)
            continue;
        doc->DrawInAllViews(0, doc->GetEntityRecord(pos));
        doc->RemoveEntityRecord(pos);
    }
}

void CRectaView::OnRButtonDown(unsigned, CPoint)
{
    if (!ScaleUsable() || m_aerial)
        return;
    RightButton();
}

void CRectaView::RightButton()
{
    CRectaDoc* doc = GetDocument();
    if (!m_typed.empty()) {
        // Only a text that parsed is processed as a point; while picking it is a pick there.
        if (!ParseTypedPoint())
            return;
        if (m_mode >= MODE_PICK || m_pickLine == 1)
            ClickAt(MK_LBUTTON, m_current);
        else
            ProcessPoint();
        return;
    }
    if (m_command == CMD_NONE && m_mode == MODE_NONE) {
        GetPromptText();
        return;
    }
    if (m_mode == MODE_PICK && doc->m_selectionFilter == 1) {
        CSelectionFilter filter;
        const int result = RunFiltrosDlg(*doc, filter);
        doc->m_selectionFilter = 0;
        if (result == 1)
            FilterSelection(filter);
    }
    if (RightButtonStep())
        return;
    if (m_bandState == 1)
        EraseRubberBand();
    m_bandState = 0;
    ClearPrompt();
    CloseLineChain();
}

// Ends the selection or step of the running command; false when the code has none.
bool CRectaView::RightButtonStep()
{
    CRectaDoc* doc = GetDocument();
    auto closes = [&] {
        CloseState();
        ClearSelection();
    };
    // The selection's operation, then one undo state; the command ends.
    auto selectionOperation = [&](auto operation) {
        UnhighlightSelection();
        ClearPrompt();
        operation();
        closes();
        m_command = CMD_NONE;
        m_mode = 0;
    };
    // Move, copy, stretch, rotate and block define go on to their base point with a selection.
    auto toBasePoint = [&](CommandCode next, const char* prompt) {
        m_mode = m_bandState = 0;
        UnhighlightSelection();
        if (m_selCount != 0) {
            m_command = next;
            ShowPrompt(0, prompt);
        } else {
            m_command = CMD_NONE;
        }
    };
    switch (m_command) {
    case CMD_3DFACE_4:  // three-corner face: the fourth corner is the third
        m_command = CMD_NONE;
        m_bandState = 0;
        doc->m_toolPoints[4] = doc->m_toolPoints[3];
        EraseRubberBand();
        AddFaceFromToolPoints();
        return true;
    case CMD_SELECTION_ELEVATION:
    case CMD_SELECTION_THICKNESS: {
        const bool elevation = m_command == CMD_SELECTION_ELEVATION;
        UnhighlightSelection();
        ClearPrompt();
        doc->m_dialogValue = elevation ? doc->m_currentZ : doc->m_thickness;
        // Cancel changes nothing.
        const int ok = elevation ? RunCoordenadaZDlg(doc->m_dialogValue) : RunEspesorDlg(doc->m_dialogValue);
        if (ok != 1)
            ClearSelection();
        else if (elevation)
            ApplyElevation();
        else
            ApplyThickness();
        m_mode = 0;
        m_command = CMD_NONE;
        return true;
    }
    case CMD_EXTEND_SINGLE:
    case CMD_CHANGE_TEXT:
    case CMD_OBJECT_ELEVATION:
        m_command = CMD_NONE;
        m_mode = 0;
        ClearPrompt();
        return true;
    case CMD_WALL_OFFSET:
        UnhighlightSelection();
        RunRegruesaDlg(doc->m_wallOffset);
        m_fixedDistance = doc->m_wallOffset;
        ShowPrompt(0, "To side:");
        m_mode = 0;
        m_command = CMD_OFFSET_SIDE;
        return true;
    case CMD_WALL_END:
        ClearPrompt();
        EraseRubberBand();
        ViewTools().JoinWalls(*doc, *this, doc->m_toolPoints[1], doc->m_toolPoints[2], doc->m_toolPoints[3],
                              doc->m_toolPoints[4], 0.4);
        CloseState();
        m_command = CMD_NONE;
        m_bandState = 0;
        return true;
    case CMD_WALL_JOINT_X:
        UnhighlightSelection();
        ResetCommand();  // first: a joint that cannot be made says why on the prompt line
        WallJointX();
        closes();
        return true;
    case CMD_WALL_JOINT_T:
        UnhighlightSelection();
        m_command = CMD_WALL_JOINT_T_LEG;
        m_mode = MODE_PICK;
        ShowPrompt(0, "T Leg:");
        return true;
    case CMD_WALL_JOINT_T_LEG:
        UnhighlightSelection();
        closes();
        ResetCommand();
        return true;
    case CMD_WALL_JOINT_L: {
        UnhighlightSelection();
        m_command = CMD_WALL_JOINT_L_INNER;
        m_mode = 0;
        // The band runs from the corner of the first two lines when they meet.
        CPointd corner;
        m_bandState = ViewTools().IntersectSelectedLines(*doc, *this, corner) ? 1 : 0;
        if (m_bandState == 1)
            m_firstPoint = m_bandStart = m_bandEnd = corner;
        OverrideOrtho(0);
        ShowPrompt(0, "Internal Angle Point:");
        return true;
    }
    case CMD_ERASE_DOORS:
    case CMD_ERASE_WINDOWS: {
        const bool doors = m_command == CMD_ERASE_DOORS;
        UnhighlightSelection();
        ResetCommand();  // first: what the generator says stays on the prompt line
        if (doors)
            ViewTools().EraseDoors(*doc, *this);
        else
            ViewTools().EraseWindows(*doc, *this);
        closes();
        return true;
    }
    case CMD_DOOR_HEIGHTS:
    case CMD_WINDOW_HEIGHTS: {
        const bool doors = m_command == CMD_DOOR_HEIGHTS;
        UnhighlightSelection();
        ResetCommand();
        if (doors)
            ViewTools().ApplyDoorHeights3D(*doc, *this);
        else
            ViewTools().ApplyWindowHeights3D(*doc, *this);
        ClearSelection();
        return true;
    }
    case CMD_ERASE:
        EraseSelection();
        closes();
        ResetCommand();
        return true;
    case CMD_MOVE: toBasePoint(CMD_MOVE_BASE, "From point:"); return true;
    case CMD_COPY: toBasePoint(CMD_COPY_BASE, "From point:"); return true;
    case CMD_STRETCH: toBasePoint(CMD_STRETCH_BASE, "From point:"); return true;
    case CMD_OFFSET:
        UnhighlightSelection();
        RunDistanciaDlg(m_fixedDistance);
        ShowPrompt(0, "Towards:");
        m_mode = 0;
        m_command = CMD_OFFSET_SIDE;
        return true;
    case CMD_EXTEND_ALL:
        ClearPrompt();
        ExtendAllToBoundary();
        closes();
        m_command = CMD_NONE;
        m_mode = 0;
        return true;
    case CMD_EXPLODE: selectionOperation([&] { ExplodeSelection(); }); return true;
    case CMD_PLINE_ADD_OBJECTS:
        selectionOperation([&] {
            if (CDib* record = LiveRecord(m_pickedSerial, m_pickedEntity))
                AddToPLine(record->m_entity, record->m_type, doc->FindEntityBySerial(record->m_serial));
        });
        return true;
    case CMD_CHANGE_LAYER: selectionOperation([&] { ChangeLayer(); }); return true;
    case CMD_CHANGE_COLOR: selectionOperation([&] { ChangeColor(); }); return true;
    case CMD_CHANGE_LINE_TYPE: selectionOperation([&] { ChangeLineType(); }); return true;
    case CMD_CHANGE_TEXT_HEIGHT: selectionOperation([&] { ChangeTextHeight(); }); return true;
    case CMD_CHANGE_TEXT_FONT: selectionOperation([&] { ChangeTextFont(); }); return true;
    case CMD_CHANGE_LINE_WIDTH: selectionOperation([&] { RunEspesorLineaDlg(*this); }); return true;
    case CMD_CUT_EDGES:
        ShowPrompt(0, "Select object to cut:");
        UnhighlightSelection();
        m_command = CMD_CUT_OBJECTS;
        m_mode = MODE_PICK;
        return true;
    case CMD_CUT_OBJECTS:
        ClearPrompt();
        m_command = CMD_NONE;
        m_mode = 0;
        ClearSelection();
        return true;
    case CMD_ROTATE: toBasePoint(CMD_ROTATE_CENTRE, "Point for rotatting edge:"); return true;
    case CMD_ROTATE_COPY: toBasePoint(CMD_ROTATE_COPY_CENTRE, "Point for rotatting edge:"); return true;
    case CMD_MIRROR:
    case CMD_MIRROR_COPY:
        m_mode = MODE_PICK;
        m_bandState = 0;
        UnhighlightSelection();
        if (m_selCount != 0) {
            m_command = m_command == CMD_MIRROR ? CMD_MIRROR_LINE : CMD_MIRROR_COPY_LINE;
            ShowPrompt(0, "Select mirror line");
        } else {
            m_command = CMD_NONE;
        }
        return true;
    case CMD_BLOCK_DEFINE: toBasePoint(CMD_BLOCK_BASE, "Pick Insert Point"); return true;
    case CMD_LIST: ResetCommand(); return true;
    case CMD_MOVE_DIM_TEXTS:
        UnhighlightSelection();
        closes();  // one undo state for every text moved
        ResetCommand();
        return true;
    case CMD_REGION:
        ClearSelection();
        ResetCommand();
        return true;
    case CMD_COPY_TO_CLIPBOARD:
        UnhighlightSelection();
        ResetCommand();
        CopyObjectsToClipboard(*this);
        ClearSelection();  // else the next repaint shows it highlighted again
        return true;
    case CMD_AREA_POINTS: {
        m_command = CMD_NONE;
        m_bandState = 0;
        ClearPrompt();
        const double area = std::abs(PolygonArea(m_pointList));
        m_pointList.DeleteAll();
        RunAREADlgEx(area, doc->m_coordDecimals);
        return true;
    }
    case CMD_HATCH_POINTS:
        m_bandState = 0;
        ShowPrompt(0, "Select obj. to remove");
        m_command = CMD_HATCH_ISLANDS;
        m_mode = MODE_PICK;
        return true;
    case CMD_HATCH_ISLANDS:
        m_bandState = 0;
        m_command = CMD_NONE;
        m_mode = 0;
        UnhighlightSelection();
        ClearPrompt();
        GenerateHatch();
        return true;
    default: return false;
    }
}

void CRectaView::OnMButtonDown(unsigned, CPoint)
{
    m_bandState = 0;
}

void CRectaView::OnMouseLeave()
{
    m_cursorOutside = 1;
    if (m_host)
        m_host->SetMouseCapture(false);
}

void CRectaView::OnMouseMove(unsigned flags, CPoint point)
{
    // An object following the mouse takes the moves; one without the left
    // button means its release went unseen, and the drag ends where it was.
    if (m_itemDrag) {
        if (flags & MK_LBUTTON)
            DragItemTo(LPoint{point.x, point.y});
        else
            EndItemDrag(true);
        return;
    }
    // Over an embedded object the mouse is let go, with the move or resize cursor.
    if (!m_aerial && HitTestItems(point)) {
        if (!OnSetCursor(point) && m_host)
            m_host->SetCursorShape(ViewCursor::sizeAll);
        OnMouseLeave();
        return;
    }
    if (m_host) {
        m_host->SetCursorShape(PicksObjects(m_command) || m_pickLine == 1 ? ViewCursor::pick
                               : m_snapMode != 0                                        ? ViewCursor::snap
                                                                                        : ViewCursor::cross);
    }
    const bool inside = point.x >= 0 && point.y >= 0 && point.x <= m_clientWidth && point.y <= m_clientHeight;
    if (!inside) {
        OnMouseLeave();
        return;
    }
    if (m_cursorOutside == 1) {
        m_cursorOutside = 0;
        if (m_host)
            m_host->SetMouseCapture(true);
    }
    if (!ScaleUsable())
        return;
    CRectaDoc* doc = GetDocument();
    CPointd p = DeviceToWorld(point);
    if (m_mode < MODE_PICK && doc->m_gridStep > 0.0)
        SnapToGrid(p, doc->m_gridStep);
    if (m_zoomState == 0 && doc->m_ortho == 1 &&
        ((m_command == CMD_NONE && m_mode != MODE_NONE && m_bandState != 0) ||
         (m_mode == MODE_NONE && TakesFollowingPoint(m_command))))
        ApplyOrtho(m_bandStart.x, m_bandStart.y, p.x, p.y);
    if (m_readoutMode == 2 || m_bandState == 1)
        ShowDistAngle(m_bandStart, p);
    else if (m_readoutMode == 1)
        ShowCoords(p);
    if (m_zoomState == 2) {
        DrawRubberRect(p, m_reqMin, m_zoomDrag, false);
        m_zoomDrag = p;
        return;
    }
    if (m_bandState == 1) {
        if (BandIsRect())
            DrawRubberRect(p, m_bandStart, m_bandEnd, false);
        else
            DrawRubberBand(p, m_bandStart, m_bandEnd, false);
        m_bandEnd = p;
    }
}
