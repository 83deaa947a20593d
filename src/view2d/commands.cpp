// Command starters, repetition of the last command, and the view commands
// that set no command.
#include "view2d/rectaview.h"

#include "dialogs/archdlg.h"
#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/geometry.h"
#include "platform/imagedc.h"
#include "res/commands.h"
#include "view2d/clipboard.h"
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

// A starter's prompt, padded; an empty one shows nothing.
void ShowStarterPrompt(CRectaView& view, const char* prompt)
{
    if (*prompt)
        view.ShowPrompt(0, Padded(prompt));
}

// The window command's row: with insert mode 1 it takes a reference point on
// the inner wall line, otherwise it picks the wall line first.
const StarterInfo& WallWindowStarter(const CRectaDoc& doc)
{
    return *FindStarter(ID_WALL_WINDOW, doc.m_toolWords[5] == 1 ? CMD_WINDOW : CMD_WINDOW_IN_WALL);
}

// The Z dialog on the default elevation, or the thickness dialog on the
// default thickness, by the command; OK keeps the value.
void AskDefaultValue(CRectaDoc& doc, CommandCode code)
{
    const bool elevation = code == CMD_DEFAULT_ELEVATION;
    double& target = elevation ? doc.m_currentZ : doc.m_thickness;
    doc.m_dialogValue = target;
    if ((elevation ? RunCoordenadaZDlg(doc.m_dialogValue) : RunEspesorDlg(doc.m_dialogValue)) == 1)
        target = doc.m_dialogValue;
}

}  // namespace

bool CRectaView::OnCommand(int id)
{
    CRectaDoc* doc = GetDocument();
    if (const StarterInfo* s = FindStarter(id); s && !s->ownSetUp) {
        CancelCommand();
        m_command = s->code;
        m_mode = s->mode;
        m_selCount = 0;
        m_bandState = 0;
        if (s->textAlign)
            m_textAlign = s->textAlign;
        // Block insert and extend start with no block or boundary picked.
        if (s->code == CMD_INSERT_BLOCK || s->code == CMD_EXTEND_SINGLE || s->code == CMD_EXTEND_ALL)
            m_pickedEntity = nullptr;
        BeginCommand();
        ShowStarterPrompt(*this, s->prompt);
        return true;
    }
    if (StartSpecial(id))
        return true;
    switch (id) {
    case ID_REDRAW:
        if (m_bandState == 1)
            EraseRubberBand();
        doc->UpdateAllItems();
        doc->UpdateAllViews(nullptr);
        return true;
    case ID_OLE_INSERT_NEW: OnInsertObject(); return true;
    case ID_CANCEL_EDIT_CNTR: OnCancelEditCntr(); return true;
    case ID_EDIT_CLEAR: OnEditClear(); return true;
    case ID_EDIT_COPY: OnEditCopy(); return true;
    case ID_EDIT_PASTE: OnEditPaste(); return true;
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
    case ID_BLOCK_WRITE: OnToolWriteBlock(); return true;
    case ID_BLOCK_READ: OnBlockRead(); return true;
    case ID_DXF_WRITE: OnDXFWrite(); return true;
    case ID_DXF_READ: OnDXFRead(); return true;
    case ID_PURGE_BLOCKS: OnPurgeBlocks(); return true;
    case ID_PURGE_LAYERS: OnPurgeLayers(); return true;
    default: return false;
    }
}

// Starters with a dialog or set-up of their own, and view commands that set no command.
bool CRectaView::StartSpecial(int id)
{
    CRectaDoc* doc = GetDocument();
    const StarterInfo* row = FindStarter(id);
    // Set the row's code and mode, and begin; start cancels first.
    auto begin = [&](const StarterInfo& s) {
        m_command = s.code;
        m_mode = s.mode;
        m_selCount = m_bandState = 0;
        BeginCommand();
    };
    auto start = [&](const StarterInfo& s) {
        CancelCommand();
        begin(s);
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
    case ID_DEFAULT_COLOR:  // leaves the view picking objects with no command
        CancelCommand();
        SetDefaultColor();
        m_mode = row->mode;
        BeginCommand();
        return true;
    case ID_UPDATE_DIMENSIONS:
        CancelCommand();
        UpdateDimensionFonts();
        return true;
    case ID_PASTE:
        CancelCommand();
        m_command = row->code;
        m_mode = row->mode;
        m_selCount = m_bandState = 0;
        PasteObjectsFromClipboard(*this);
        BeginCommand();
        return true;
    case ID_SHOW_CAMERAS:
        start(*row);
        ClearPrompt();
        if (ScaleUsable()) {
            auto dc = GetClientDC();
            ViewTools().ShowCameras(*dc, Map(), *doc);
        }
        return true;
    case ID_CAMERA_POSITION:
        start(*row);
        DoSelCamaraDlg(GetDocument());
        ShowStarterPrompt(*this, row->prompt);
        return true;
    case ID_TARGET_POSITION:
    case ID_FOCAL_PLANE:
        CancelCommand();
        m_mode = row->mode;
        m_command = row->code;
        DoSelCamaraDlg(GetDocument());
        ShowStarterPrompt(*this, row->prompt);
        BeginCommand();
        BandFromCamera();
        return true;
    case ID_LIGHT:
        start(*row);
        DoSelecLuzDlg(GetDocument());
        ShowStarterPrompt(*this, row->prompt);
        return true;
    case ID_PLANE_VERTICAL:
    case ID_PLANE_3_POINTS:  // only from the world
        if (doc->m_ucsActive)
            return true;
        start(*row);
        ShowStarterPrompt(*this, row->prompt);
        return true;
    case ID_WORLD_SYSTEM:  // only under a plane
        if (!doc->m_ucsActive)
            return true;
        CancelCommand();
        ToWorldSystem();
        return true;
    case ID_SOLID_WALLS:
        CancelCommand();
        ViewTools().MakeSolidWalls();
        return true;
    case ID_DEFAULT_ELEVATION:
    case ID_DEFAULT_THICKNESS:
        start(*row);
        AskDefaultValue(*doc, row->code);
        return true;
    case ID_DOOR_ONE_LEAF:
    case ID_DOOR_TWO_LEAVES:
    case ID_DOOR_UNEQUAL_LEAVES:
        start(*row);
        if (id == ID_DOOR_UNEQUAL_LEAVES)
            RunHOJASDlg(doc);
        else
            RunSimpleHojaDlg(doc);
        ShowStarterPrompt(*this, row->prompt);
        doc->m_toolWords[TW_DOOR_KIND] = id - ID_DOOR_ONE_LEAF + 1;
        return true;
    case ID_WALL_WINDOW: {
        CancelCommand();
        RunSTANDARDDlg(doc);
        const StarterInfo& window = WallWindowStarter(*doc);
        begin(window);
        ShowStarterPrompt(*this, window.prompt);
        return true;
    }
    case ID_STAIR_ONE_FLIGHT:
    case ID_STAIR_TWO_FLIGHTS:
        start(*row);
        doc->m_toolWords[TW_STAIR_KIND] = id == ID_STAIR_ONE_FLIGHT ? 1 : 2;
        ShowStarterPrompt(*this, row->prompt);
        return true;
    case ID_WALLS:
        start(*row);
        RunRegruesaDlg(doc->m_wallOffset);
        doc->m_wallCounter = 0;
        ShowStarterPrompt(*this, row->prompt);
        return true;
    default: return false;
    }
}

void CRectaView::BandFromCamera()
{
    CRectaDoc* doc = GetDocument();
    const int cam = std::clamp(doc->m_toolWords[TW_CAMERA], 0, 5);
    m_bandState = 1;
    m_bandStart = m_bandEnd = doc->m_cameraEye[cam];
    if (m_command == CMD_FOCAL_PLANE) {
        OverrideOrtho(1);
        const CPointd& e = doc->m_cameraEye[cam];
        const CPointd& t = doc->m_cameraTarget[cam];
        OverrideRefAngle(Angle2D(e.x, e.y, t.x, t.y));
    }
}

void CRectaView::GetPromptText()
{
    m_mode = m_lastMode;
    m_command = m_lastCommand;
    m_bandState = 0;
    m_pickedEntity = nullptr;
    m_selCount = 0;

    // Starters with a set-up of their own run it again.
    CRectaDoc* doc = GetDocument();
    switch (m_command) {
    case CMD_SHOW_CAMERAS:
        ClearPrompt();
        if (ScaleUsable()) {
            auto dc = GetClientDC();
            ViewTools().ShowCameras(*dc, Map(), *doc);
        }
        break;
    case CMD_CAMERA_TARGET:
    case CMD_FOCAL_PLANE:
        DoSelCamaraDlg(GetDocument());
        BandFromCamera();
        break;
    case CMD_LIGHT: DoSelecLuzDlg(GetDocument()); break;
    case CMD_CAMERA: DoSelCamaraDlg(GetDocument()); break;
    case CMD_DEFAULT_ELEVATION:
    case CMD_DEFAULT_THICKNESS: AskDefaultValue(*doc, m_command); break;
    case CMD_DOOR:
        if (doc->m_toolWords[TW_DOOR_KIND] == 3)
            RunHOJASDlg(doc);
        else
            RunSimpleHojaDlg(doc);
        break;
    case CMD_WINDOW_IN_WALL:
    case CMD_WINDOW: {
        RunSTANDARDDlg(doc);
        const StarterInfo& window = WallWindowStarter(*doc);
        m_command = window.code;
        m_mode = window.mode;
        break;
    }
    case CMD_WALL:
        RunRegruesaDlg(doc->m_wallOffset);
        doc->m_wallCounter = 0;
        break;
    default: break;
    }
    const bool planeUnderPlane =
        doc->m_ucsActive && (m_command == CMD_PLANE_VERTICAL || m_command == CMD_PLANE_3_POINTS);
    if (const StarterInfo* row = FindRepeat(m_command, m_mode, m_textAlign); row && !planeUnderPlane)
        ShowStarterPrompt(*this, row->repeatPrompt);
}
