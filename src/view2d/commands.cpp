// Command starters, repetition of the last command, and the view commands
// that set no command.
#include "view2d/rectaview.h"

#include "dialogs/archdlg.h"
#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/geometry.h"
#include "platform/imagedc.h"
#include "res/commands.h"
#include "view2d/viewtools.h"

#include <algorithm>
#include <string_view>

namespace {

std::string Padded(std::string_view text, std::size_t width = 27)
{
    std::string s(text);
    if (s.size() < width)
        s.resize(width, ' ');
    return s;
}

}  // namespace

bool CRectaView::OnCommand(int id)
{
    CRectaDoc* doc = GetDocument();
    if (const StarterInfo* s = FindStarter(id)) {
        CancelCommand();
        m_command = s->code;
        m_mode = s->mode;
        m_selCount = 0;
        m_bandState = 0;
        if (s->textAlign)
            m_textAlign = s->textAlign;
        if (id == 10084 || id == 10040 || id == 10079)
            m_pickedEntity = nullptr;
        BeginCommand();
        if (!s->prompt)
            ShowSelectPrompt();
        else if (*s->prompt)
            ShowPrompt(0, Padded(s->prompt));
        return true;
    }
    if (StartSpecial(id))
        return true;
    switch (id) {
    case ID_REDRAW:
        if (m_bandState == 1)
            EraseRubberBand();
        doc->UpdateAllViews(nullptr);
        return true;
    case ID_UNDO:
        CancelCommand();
        DoUndo();
        return true;
    case ID_REDO:
        CancelCommand();
        DoRedo();
        return true;
    case ID_CANCEL_COMMAND: CancelCommand(); return true;
    case ID_ZOOM_WINDOW: OnZoomWindow(); return true;
    case ID_ZOOM_PREVIOUS: OnZoomPrevious(); return true;
    case ID_ZOOM_EXTENTS: OnZoomExtents(); return true;
    case ID_ORTHO: doc->ToggleOrtho(); return true;
    case ID_REFERENCE_POINT:
        m_refPointState = 1;
        m_savedPrompt = m_prompt;
        ShowPrompt(0, Padded("Pick Ref. Point"));
        return true;
    case ID_CANCEL_APPROX:
        m_keepSnapMode = 0;
        m_snapMode = 0;
        return true;
    case ID_FILTERS: doc->m_selectionFilter = 1; return true;
    case ID_Z_COORDINATE: doc->m_askZ = 1; return true;
    case ID_FIT_Z: doc->m_askZ = 2; return true;
    case ID_CANCEL_FIT_Z: doc->m_askZ = 0; return true;
    default: return false;
    }
}

// Starters with a dialog or set-up of their own.
bool CRectaView::StartSpecial(int id)
{
    CRectaDoc* doc = GetDocument();
    // Cancel, set the code with mode 0, and begin.
    auto start = [&](int code) {
        CancelCommand();
        m_command = code;
        m_mode = m_selCount = m_bandState = 0;
        BeginCommand();
    };
    switch (id) {
    case ID_ANGLE: {
        double degrees = RadToDeg(m_refAngle);
        int pick = 0;
        if (RunANGSELDlgEx(degrees, pick) != 1)
            return true;
        if (pick) {
            m_pickLine = 1;
            ShowPrompt(0, Padded("Pick Line"));
        } else {
            m_refAngle = DegToRad(degrees);
        }
        return true;
    }
    case ID_FIT_APPROX:
        CancelCommand();
        m_keepSnapMode = 1;
        RunModoAproxDlg(m_snapMode);
        return true;
    case ID_FILE_PRINT: BeginPrintArea(); return true;
    case ID_FILE_PRINT_PREVIEW: BeginPreviewArea(); return true;
    case 10119:  // Default Color: leaves the view picking objects with no command
        CancelCommand();
        m_mode = MODE_PICK;
        BeginCommand();
        return true;
    case 10221: CancelCommand(); return true;
    case 4006: start(203); return true;
    case 4022:
        start(120);
        ClearPrompt();
        if (ScaleUsable()) {
            auto dc = GetClientDC();
            ViewTools().ShowCameras(*dc, Map(), *doc);
            if (m_host)
                m_host->UpdateWindow();
        }
        return true;
    case 10360:
        start(230);
        DoSelCamaraDlg(GetDocument());
        ShowPrompt(0, Padded("Camera Position:"));
        return true;
    case 10361:
    case 10362: {
        CancelCommand();
        m_mode = 0;
        m_command = id == 10361 ? 330 : 331;
        DoSelCamaraDlg(GetDocument());
        m_bandState = 1;
        ShowPrompt(0, Padded(id == 10361 ? "Target Point Position:" : "Phocal Plane Position:"));
        BeginCommand();
        const int cam = std::clamp(doc->m_toolWords[TW_CAMERA], 0, 5);
        m_bandStart = m_bandEnd = doc->m_cameraEye[cam];
        if (id == 10362) {
            OverrideOrtho(1);
            const CPointd& e = doc->m_cameraEye[cam];
            const CPointd& t = doc->m_cameraTarget[cam];
            OverrideRefAngle(Angle2D(e.x, e.y, t.x, t.y));
        }
        return true;
    }
    case 10371:
        start(232);
        DoSelecLuzDlg(GetDocument());
        ShowPrompt(0, Padded("Light from point:"));
        return true;
    case 10414:
    case 10415:
        if (doc->m_ucsActive)
            return true;
        start(id == 10414 ? 242 : 243);
        ShowPrompt(0, Padded("Origin Point for Plane:"));
        return true;
    case 10417: return true;  // only while a user coordinate system is in force
    case 10424:
        CancelCommand();
        ViewTools().MakeSolidWalls();
        return true;
    case 10354:
    case 10355:
        start(id == 10354 ? 210 : 211);
        if (id == 10354) {
            doc->m_dialogValue = doc->m_currentZ;
            if (RunCoordenadaZDlg(doc->m_dialogValue) == 1)
                doc->m_currentZ = doc->m_dialogValue;
        } else {
            doc->m_dialogValue = doc->m_thickness;
            if (RunEspesorDlg(doc->m_dialogValue) == 1)
                doc->m_thickness = doc->m_dialogValue;
        }
        return true;
    case 10263:
    case 10264:
    case 10265:
        start(172);
        if (id == 10265)
            RunHOJASDlg(doc);
        else
            RunSimpleHojaDlg(doc);
        ShowPrompt(0, Padded(id == 10265 ? "Ref.Point Ext. Wall:" : "Ref.Point Ext.Wall:"));
        doc->m_toolWords[TW_DOOR_KIND] = id - 10262;
        return true;
    case 10267:
        CancelCommand();
        RunSTANDARDDlg(doc);
        if (doc->m_toolWords[5] == 1) {
            m_command = 175;
            m_mode = 0;
        } else {
            m_command = 75;
            m_mode = MODE_PICK;
        }
        m_selCount = m_bandState = 0;
        BeginCommand();
        ShowPrompt(0, Padded(m_command == 175 ? "Ref.Point Int.Wall:" : "Internal Wall:"));
        return true;
    case 10257:
        CancelCommand();
        m_command = 180;
        m_mode = m_selCount = m_bandState = 0;
        BeginCommand();
        RunRegruesaDlg(doc->m_wallOffset);
        doc->m_wallCounter = 0;
        ShowPrompt(0, Padded("From point:"));
        return true;
    default: return false;
    }
}

void CRectaView::GetPromptText()
{
    m_mode = m_lastMode;
    m_command = m_lastCommand;
    m_bandState = 0;
    m_pickedEntity = nullptr;
    m_selCount = 0;

    const int mode = m_mode, code = m_command;
    const char* prompt = nullptr;
    if (mode == MODE_LINE || mode == MODE_PLINE)
        prompt = "From point:";
    else if (mode == MODE_CIRCLE)
        prompt = "Circle Center:";
    else if (mode == MODE_CIRCLE3 || mode == MODE_ARC3)
        prompt = "First point:";
    else if (code == 23)
        prompt = "First Tangent:";
    else if (mode == MODE_ARC_CSE)
        prompt = "Center:";
    else if (mode == MODE_POINT)
        prompt = "Pick point:";
    else if (mode == MODE_TEXT)
        prompt = m_textAlign == 2 ? "Pick right point:" : m_textAlign == 3 ? "Pick center point:" : "Pick left point:";
    else if (mode == MODE_DIM_LINEAR)
        prompt = "From point:";
    else {
        switch (code) {
        case 36: prompt = "Pick Circle/Arc:"; break;
        case 1: case 2: case 3: case 13: case 12: case 7: case 8: case 9: case 10: case 11: case 25: case 26:
        case 35: case 27: case 28: case 29: case 30: case 33: case 101: case 102: case 103: case 50: case 46:
        case 47: case 49:
            ShowSelectPrompt();
            return;
        case 4: case 14: case 32: prompt = "Select line 1:"; break;
        case 5: case 15: prompt = "Select Boundary object:"; break;
        case 6: prompt = "Select cutting edges:"; break;
        case 151: prompt = "Insert point"; break;
        case 16: prompt = "Select blocks,polil. or dims"; break;
        case 17: prompt = "Select Line or Arc"; break;
        case 18: prompt = "Select Polyline"; break;
        case 34: prompt = "Select Poliline"; break;
        case 157: prompt = "Pick Point:"; break;
        case 158: prompt = "First Point:"; break;
        case 160: prompt = "Pick points:"; break;
        case 31: prompt = "Pick polyline:"; break;
        case 43: prompt = "Select polil. or block:"; break;
        case 171: case 169: case 168: prompt = "Pick internal point:"; break;
        case 235: prompt = "Point 1:"; break;
        case 240: prompt = "Origin Point for Section:"; break;
        case 51: prompt = "Select doors to erase:"; break;
        case 73: prompt = "Equal to door ...:"; break;
        case 52: prompt = "Select windows to erase:"; break;
        case 76: prompt = "Equal to window ...:"; break;
        case 81: prompt = "Ref.Line x:"; break;
        case 177: prompt = "From point:"; break;
        case 82: prompt = "Select enclosure wall:"; break;
        case 104: prompt = "Select Doors:"; break;
        case 120:
            ClearPrompt();
            if (ScaleUsable()) {
                auto dc = GetClientDC();
                ViewTools().ShowCameras(*dc, Map(), *GetDocument());
            }
            return;
        case 330:
        case 331: {
            CRectaDoc* doc = GetDocument();
            DoSelCamaraDlg(GetDocument());
            const int cam = std::clamp(doc->m_toolWords[TW_CAMERA], 0, 5);
            m_bandState = 1;
            m_bandStart = m_bandEnd = doc->m_cameraEye[cam];
            if (code == 331) {
                OverrideOrtho(1);
                const CPointd& e = doc->m_cameraEye[cam];
                const CPointd& t = doc->m_cameraTarget[cam];
                OverrideRefAngle(Angle2D(e.x, e.y, t.x, t.y));
            }
            prompt = code == 330 ? "Position of Target Point:" : "Position of Phocal Plane:";
            break;
        }
        case 232:
            DoSelecLuzDlg(GetDocument());
            prompt = "Light from point:";
            break;
        case 230:
            DoSelCamaraDlg(GetDocument());
            prompt = "Camera Position:";
            break;
        case 242:
        case 243:
            if (!GetDocument()->m_ucsActive)
                prompt = "Origin Point for Plane:";
            break;
        case 210:
        case 211: {
            CRectaDoc* doc = GetDocument();
            double& target = code == 210 ? doc->m_currentZ : doc->m_thickness;
            doc->m_dialogValue = target;
            if ((code == 210 ? RunCoordenadaZDlg(doc->m_dialogValue) : RunEspesorDlg(doc->m_dialogValue)) == 1)
                target = doc->m_dialogValue;
            return;
        }
        case 172: {
            CRectaDoc* doc = GetDocument();
            if (doc->m_toolWords[TW_DOOR_KIND] == 3)
                RunHOJASDlg(doc);
            else
                RunSimpleHojaDlg(doc);
            prompt = "Ref. Point Ext. Wall:";
            break;
        }
        case 75:
        case 175: {
            CRectaDoc* doc = GetDocument();
            RunSTANDARDDlg(doc);
            m_command = doc->m_toolWords[5] == 1 ? 175 : 75;
            m_mode = m_command == 175 ? 0 : MODE_PICK;
            prompt = m_command == 175 ? "Ref.Point Int.Wall:" : "Int. Wall:";
            break;
        }
        case 180:
            RunRegruesaDlg(GetDocument()->m_wallOffset);
            GetDocument()->m_wallCounter = 0;
            prompt = "From point:";
            break;
        case 105: prompt = "Select Windows:"; break;
        default: break;
        }
    }
    if (prompt)
        ShowPrompt(0, Padded(prompt));
}
