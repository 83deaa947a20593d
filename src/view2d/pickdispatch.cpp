// The pick dispatcher: what a click does while objects are picked (drawing
// modes 100 and 101), by the command that picks.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/geometry.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/region.h"
#include "platform/msgbox.h"

#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

// The direction of a line folded into [0, pi/2]: the reference angle it gives.
double FoldedDirection(const CRecta& l)
{
    double a = Angle2D(l.m_p1.x, l.m_p1.y, l.m_p2.x, l.m_p2.y);
    if (a > kPi)
        a -= kPi;
    if (a > kPi / 2)
        a -= kPi / 2;
    return a;
}

}  // namespace

void CRectaView::DispatchPick(const CPointd& p)
{
    if (m_mode == MODE_PICK_WINDOW) {
        m_winCorner2 = p;
        EraseRubberBand();
        const double a = Angle2D(m_winCorner.x, m_winCorner.y, p.x, p.y);
        SelectByWindow(a >= 0.0 && a < kPi / 2 ? 0 : 1, m_winCorner, m_winCorner2);
        m_mode = MODE_PICK;
        m_bandState = 0;
        ShowSelectPrompt();
        return;
    }
    CRectaDoc* doc = GetDocument();
    CObject* entity = nullptr;
    int type = 0;
    const POSITION pos = PickNearestEntity(p, entity, type);
    const bool hit = pos != nullptr;
    auto is = [&](int kind) { return hit && type == kind; };
    const std::uint64_t serial = hit ? RecordAt(pos)->m_serial : 0;
    auto windowOrToggle = [&] {
        if (!hit) {
            ShowPrompt(0, "Other Corner:");
            m_mode = MODE_PICK_WINDOW;
            m_bandState = 1;
            m_winCorner = m_bandStart = m_bandEnd = p;
            return;
        }
        ToggleSelection(type, pos);
    };
    auto keepPicked = [&] {
        m_pickedPos = pos;
        m_pickedEntity = entity;
        m_pickedType = type;
        m_pickedSerial = serial;
    };

    if (m_pickLine == 1) {
        ClearPrompt();
        if (is(ENT_LINE)) {
            m_refAngle = FoldedDirection(*static_cast<CRecta*>(entity));
            m_mode = 0;
        }
        return;
    }
    switch (m_command) {
    case CMD_OBJECT_ELEVATION:
        if (is(ENT_LINE) || is(ENT_ARC)) {
            m_mode = 0;
            keepPicked();
            doc->m_toolWords[13] = type;
        }
        return;
    case CMD_REVOLUTION_AXIS:
        if (is(ENT_LINE)) {
            m_workEntity = entity;
            m_workSerial = serial;
            m_mode = 0;
        }
        return;
    case CMD_REVOLUTION_PLINE:
    case CMD_TABULATED_PLINE:
        if (is(ENT_PLINE)) {
            m_pickedPolyline = entity;
            m_pickedPolylineSerial = serial;
            m_mode = 0;
        }
        return;
    case CMD_WALL_JOINT_T_LEG:
        ClearPrompt();
        if (is(ENT_LINE)) {
            m_pickedLine = static_cast<CRecta*>(entity);
            m_pickedLineSerial = serial;
            ResetCommand();  // first: a joint that cannot be made says why on the prompt line
            WallJointT(p);
            SaveUndoState();
            ClearPendingSteps();
            ClearSelection();
        }
        return;
    case CMD_WINDOW_IN_WALL:
    case CMD_ENCLOSURE:
        if (is(ENT_LINE)) {
            m_pickedLine = static_cast<CRecta*>(entity);
            m_pickedLineSerial = serial;
            ClearPrompt();
            m_mode = 0;
        }
        return;
    case CMD_COPY_DOOR:
    case CMD_COPY_WINDOW:
        if (is(ENT_INSERT)) {
            m_mode = 0;
            ClearPrompt();
            keepPicked();
        }
        return;
    case CMD_PILLAR: PickSecondLine(pos, type, p, "Ref. Line y:", true); return;
    case CMD_HATCH_PLINE:
        ClearPrompt();
        if (is(ENT_PLINE)) {
            double area = 0.0, perimeter = 1.0;  // not measured: the vertices stay in the list
            m_pointList.DeleteAll();
            static_cast<CPLine*>(entity)->GetVertices(area, m_pointList, perimeter);
            m_bandState = 0;
            ShowPrompt(0, "Select obj. to remove");
            m_command = CMD_HATCH_ISLANDS;
        } else {
            ResetCommand();
        }
        return;
    case CMD_AREA_PLINE:
        ClearPrompt();
        if (is(ENT_PLINE)) {
            CObList vertices{ListOwnership::owns};
            double area = 0.0, perimeter = 0.0;
            static_cast<CPLine*>(entity)->GetVertices(area, vertices, perimeter);
            RunAREADlgEx(area, doc->m_coordDecimals);
        }
        ResetCommand();
        return;
    case CMD_DIM_RADIAL: PickDimensionCurve(pos, entity, type, p); return;
    case CMD_CIRCLE_TAN_TAN_RADIUS: PickSecondLine(pos, type, p, "Second Tangent:", false); return;
    case CMD_LIST:
        if (hit)
            ListEntity(type, entity);
        return;
    case CMD_REGION:
        if (is(ENT_PLINE)) {
            MakeRegionFromPLine(entity, type);
        } else if (is(ENT_INSERT)) {
            CBloq* block = FindBlock(static_cast<CInsBl*>(entity)->m_block);
            if (!block || !CanBlockBeRegion(*block)) {
                AfxMessageBox("El Bloque no puede ser Region", MB_OK | MB_ICONEXCLAMATION);
                return;
            }
            MakeRegionFromPLine(block, type);
        } else {
            return;
        }
        doc->DrawInAllViews(1, RecordAt(pos));
        return;
    case CMD_MOVE_DIM_TEXTS:
        if (is(ENT_DIMENSION)) {
            keepPicked();
            m_mode = 0;
            m_bandState = 0;
        }
        return;
    case CMD_CHANGE_TEXT:
        if (is(ENT_TEXT))
            ChangeText(entity);
        return;
    case CMD_STRETCH:
        if (!hit)
            windowOrToggle();  // stretch takes windows only
        return;
    case CMD_FILLET:
    case CMD_FILLET_RADIUS:
    case CMD_UNIFY: PickSecondLine(pos, type, p, "Select Line 2:", true); return;
    case CMD_PLINE_CONVERT:
        ClearPrompt();
        if (is(ENT_LINE) || is(ENT_ARC)) {
            m_pickedEntity = entity;
            m_pickedType = type;
            ConvertToPLine(entity, type, pos);
        }
        ResetCommand();
        return;
    case CMD_PLINE_ADD:
    case CMD_PLINE_CLOSE:
        if (!is(ENT_PLINE)) {
            ResetCommand();
            return;
        }
        keepPicked();
        if (m_command == CMD_PLINE_ADD) {
            m_command = CMD_PLINE_ADD_OBJECTS;
            ShowPrompt(0, "Select objects to add");
        } else {
            m_mode = 0;
        }
        return;
    case CMD_EXTEND_SINGLE:
    case CMD_EXTEND_ALL:
        if (!m_pickedEntity) {
            if (!hit) {
                ResetCommand();
                return;
            }
            keepPicked();
            ShowPrompt(0, "Select obj. to extend:");
            return;
        }
        if (m_command == CMD_EXTEND_ALL) {
            windowOrToggle();
        } else if (hit) {
            ExtendToBoundary(p, entity, type, pos);
        }
        return;
    case CMD_CUT_OBJECTS:
        if (hit)
            CutEntity(p, entity, type, pos);
        return;
    case CMD_MIRROR_LINE:
    case CMD_MIRROR_COPY_LINE:
        // Only a line serves as the mirror; anything else keeps the command picking.
        if (is(ENT_LINE)) {
            ClearPrompt();
            m_mode = m_bandState = 0;
            MirrorSelection(*static_cast<CRecta*>(entity), m_command == CMD_MIRROR_COPY_LINE);
        }
        return;
    default: windowOrToggle(); return;
    }
}

void CRectaView::PickSecondLine(POSITION pos, int type, const CPointd& p, const char* prompt, bool keepPoints)
{
    if (!pos || type != ENT_LINE) {
        ResetCommand();
        UnhighlightSelection();
        ClearSelection();
        return;
    }
    if (FindSelected(pos))
        return;  // the line picked already is not the second one
    if (SelectedRecords().size() != 1) {
        ShowPrompt(0, prompt);
        if (keepPoints)
            m_firstPoint = p;
    } else {
        if (keepPoints)
            m_secondPoint = p;
        m_mode = 0;
    }
    ToggleSelection(type, pos);
}

bool CRectaView::TwoSelectedLines(CDib*& first, CDib*& second) const
{
    const std::vector<CDib*> records = SelectedRecords();
    if (records.size() != 2 || records[0]->m_type != ENT_LINE || records[1]->m_type != ENT_LINE)
        return false;
    first = records[0];
    second = records[1];
    return true;
}

bool CRectaView::TwoPickLinesThere()
{
    CDib* first = nullptr;
    CDib* second = nullptr;
    if (TwoSelectedLines(first, second))
        return true;
    ClearSelection();
    ResetCommand();
    return false;
}
