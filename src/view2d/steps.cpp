// Command steps of the click state machine: what one point does, code by
// code, and the print window.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "dialogs/stepdlg.h"
#include "doc/rectadoc.h"
#include "model/acot.h"
#include "model/bloq.h"
#include "model/dib.h"
#include "model/insbl.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/tdface.h"
#include "platform/imagedc.h"
#include "platform/msgbox.h"
#include "view2d/clipboard.h"
#include "view2d/undo.h"
#include "view2d/viewtools.h"

#include <algorithm>
#include <cmath>

namespace {

double Distance3(const CPointd& a, const CPointd& b)
{
    return std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
}

}  // namespace

void CRectaView::BeginPrintArea()
{
    CancelCommand();
    m_command = CMD_PRINT_FIRST;
    m_mode = m_selCount = m_bandState = 0;
    ShowPrompt(0, "From point:");
}

void CRectaView::BeginPreviewArea()
{
    CancelCommand();
    m_command = CMD_PREVIEW_FIRST;
    m_mode = m_selCount = m_bandState = 0;
    ShowPrompt(0, "From point:");
}

bool CRectaView::OnPreparePrinting()
{
    double s = m_printScale > 0.0 ? 100.0 * 100.0 / m_printScale : 0.0;
    if (RunEscalaDlgEx(s) != 1)
        return false;
    m_printScale = s > 0.0 ? 100.0 / s * 100.0 : 0.0;
    return true;
}

void CRectaView::AddFaceFromToolPoints()
{
    CRectaDoc* doc = GetDocument();
    CTdface* face = doc->AddTdface();
    for (int i = 0; i < 4; ++i)
        face->m_c[i] = doc->m_toolPoints[1 + i];
    AddUndoStep(UNDO_ADDED, ENT_3DFACE, doc->GetLastEntityRecord(), doc->GetLastEntityPosition());
    SaveUndoState();
    ClearPendingSteps();
    doc->DrawInAllViews(1, doc->GetLastEntityRecord());
    ClearPrompt();
}

// Codes whose point is taken as clicked, before grid, ortho and object snap.
bool CRectaView::RunUnsnappedStep(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    switch (m_command) {
    case CMD_PLINE_CLOSE: {
        ClearPrompt();
        m_command = CMD_NONE;
        m_mode = 0;
        if (CDib* record = LiveRecord(m_pickedSerial, m_pickedEntity))
            ClosePLine(record->m_entity, record->m_type, doc->FindEntityBySerial(record->m_serial));
        return true;
    }
    case CMD_FILLET:
    case CMD_FILLET_RADIUS:
    case CMD_UNIFY:
    case CMD_CIRCLE_TAN_TAN_RADIUS: {
        const CommandCode code = m_command;
        ClearPrompt();
        UnhighlightSelection();
        m_command = CMD_NONE;
        CDib* first = nullptr;
        CDib* second = nullptr;
        // Lines that left the drawing since they were picked end the command without a change.
        if (TwoSelectedLines(first, second)) {
            if (code == CMD_UNIFY)
                UnifyLines();
            else if (code == CMD_CIRCLE_TAN_TAN_RADIUS)
                CircleTanTanRadius();
            else
                FilletLines(code == CMD_FILLET_RADIUS);
        }
        SaveUndoState();
        ClearPendingSteps();
        ClearSelection();
        return true;
    }
    case CMD_MOVE_DIM_TEXTS:
        m_command = CMD_MOVE_DIM_TEXTS_BASE;
        ShowPrompt(0, "From point:");
        return true;
    case CMD_DIM_RADIAL:  // the click that picked the curve; the next one places the text
        m_command = CMD_NONE;
        SaveUndoState();
        ClearPendingSteps();
        return true;
    case CMD_HATCH_SOLID:
    case CMD_HATCH_BITMAP:
    case CMD_BITMAP: {
        const CommandCode code = m_command;
        m_command = CMD_NONE;
        if (code == CMD_HATCH_SOLID)
            FinishSolidHatch(p);
        else if (code == CMD_HATCH_BITMAP)
            FinishBitmapHatch(p);
        else
            FinishBitmap(p);
        ClearPrompt();
        return true;
    }
    default: return false;
    }
}

bool CRectaView::RunCommandStep(const CPointd& p)
{
    return RunInquiryStep(p) || RunEditStep(p) || Run3DStep(p) || RunArchStep(p);
}

// The first point of a two-point step: the rubber band starts there.
void CRectaView::TakeFirstPoint(const CPointd& p)
{
    m_firstPoint = m_bandStart = m_bandEnd = p;
    m_bandState = 1;
}

// A step that takes its second point: the band is erased and starts again at the first point.
void CRectaView::TakeSecondPoint(const CPointd& p)
{
    EraseRubberBand();
    m_secondPoint = p;
    m_bandStart = m_bandEnd = m_firstPoint;
}

void CRectaView::CloseState()
{
    SaveUndoState();
    ClearPendingSteps();
}

void CRectaView::ResetCommand()
{
    m_command = CMD_NONE;
    m_mode = m_bandState = 0;
    ClearPrompt();
}

bool CRectaView::RunInquiryStep(const CPointd& p)
{
    switch (m_command) {
    case CMD_IDENTIFY:
        IdentifyPoint(p);
        m_command = CMD_NONE;
        ClearPrompt();
        return true;
    case CMD_DISTANCE:
        TakeFirstPoint(p);
        m_command = CMD_DISTANCE_SECOND;
        ShowPrompt(0, "Second point:");
        return true;
    case CMD_DISTANCE_SECOND:
        m_secondPoint = p;
        EraseRubberBand();
        m_command = CMD_NONE;
        m_bandState = 0;
        ClearPrompt();
        MeasureDistance();
        return true;
    case CMD_METAFILE_COPY:
        TakeFirstPoint(p);
        OverrideOrtho(0);
        m_command = CMD_METAFILE_COPY_SECOND;
        ShowPrompt(0, "To point:");
        return true;
    case CMD_METAFILE_COPY_SECOND:
        m_secondPoint = p;
        EraseRubberBand();
        ClearPrompt();
        RestoreOrtho();
        m_command = CMD_NONE;
        m_bandState = 0;
        CopyAreaToClipboardAsMetafile(*this, m_firstPoint, m_secondPoint);
        return true;
    case CMD_PREVIEW_FIRST:
    case CMD_PRINT_FIRST:
        m_command = m_command == CMD_PREVIEW_FIRST ? CMD_PREVIEW_SECOND : CMD_PRINT_SECOND;
        OverrideOrtho(0);
        TakeFirstPoint(p);
        ShowPrompt(0, "To point:");
        return true;
    case CMD_PREVIEW_SECOND:
    case CMD_PRINT_SECOND: {
        const bool preview = m_command == CMD_PREVIEW_SECOND;
        m_secondPoint = p;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        RestoreOrtho();
        m_command = CMD_NONE;
        m_mode = 0;
        // A window of no width or height prints nothing.
        if (m_firstPoint.x != m_secondPoint.x && m_firstPoint.y != m_secondPoint.y && m_host &&
            OnPreparePrinting())
            m_host->PrintWindow(preview);
        return true;
    }
    case CMD_AREA_POINTS:
    case CMD_HATCH_POINTS: m_pointList.AddTail(new CPointd(p)); return true;
    default: return false;
    }
}

bool CRectaView::RunEditStep(const CPointd& p)
{
    switch (m_command) {
    case CMD_MOVE_BASE:
    case CMD_COPY_BASE:
    case CMD_STRETCH_BASE:
        m_command = m_command == CMD_MOVE_BASE   ? CMD_MOVE_TARGET
                    : m_command == CMD_COPY_BASE ? CMD_COPY_TARGET
                                                 : CMD_STRETCH_TARGET;
        TakeFirstPoint(p);
        ShowPrompt(0, "To point:");
        return true;
    case CMD_MOVE_TARGET:
    case CMD_COPY_TARGET:
    case CMD_STRETCH_TARGET: {
        const CommandCode code = m_command;
        m_secondPoint = p;
        m_command = CMD_NONE;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        if (code == CMD_MOVE_TARGET)
            MoveSelection();
        else if (code == CMD_COPY_TARGET)
            CopySelection();
        else
            StretchSelection();
        return true;
    }
    case CMD_ROTATE_CENTRE:
    case CMD_ROTATE_COPY_CENTRE: {
        const bool copy = m_command == CMD_ROTATE_COPY_CENTRE;
        ClearPrompt();
        RotateSelection(p, copy);
        CloseState();
        ClearSelection();
        m_command = CMD_NONE;
        return true;
    }
    case CMD_OFFSET_SIDE:
        ClearPrompt();
        OffsetSelection(p);
        m_fixedDistance = 0.0;
        m_command = CMD_NONE;
        m_mode = m_bandState = 0;
        return true;
    case CMD_BLOCK_BASE:
        m_command = CMD_NONE;
        m_mode = m_bandState = 0;
        ClearPrompt();
        BlockFromSelection(p);
        return true;
    case CMD_MOVE_DIM_TEXTS_BASE:
        TakeFirstPoint(p);
        m_command = CMD_MOVE_DIM_TEXTS_TARGET;
        ShowPrompt(0, "To point:");
        return true;
    case CMD_MOVE_DIM_TEXTS_TARGET:
        m_command = CMD_MOVE_DIM_TEXTS;
        m_mode = MODE_PICK;
        EraseRubberBand();
        m_secondPoint = p;
        m_bandState = 0;
        MovePickedDimensionTexts();
        ShowSelectPrompt();
        return true;
    case CMD_INSERT_BLOCK:
        InsertBlockAt(p);
        ClearPrompt();
        m_command = CMD_NONE;
        m_bandState = 0;
        return true;
    default: return false;
    }
}

void CRectaView::MovePickedDimensionTexts()
{
    CRectaDoc* doc = GetDocument();
    CDib* record = LiveRecord(m_pickedSerial, m_pickedEntity);
    if (!record || record->m_type != ENT_DIMENSION)
        return;  // the dimension left the drawing
    AddUndoStep(UNDO_CHANGED, ENT_DIMENSION, record, doc->FindEntityBySerial(record->m_serial));
    doc->DrawInAllViews(0, record);
    static_cast<CAcot*>(record->m_entity)->MoveTexts(m_firstPoint, m_secondPoint);
    doc->DrawInAllViews(1, record);
}

void CRectaView::InsertBlockAt(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    CBloq* block = LiveBlock(static_cast<CBloq*>(m_pickedEntity));
    std::string name;
    double rotation = 0.0, sx = 1.0, sy = 1.0;
    const bool preview = m_host && m_host->PreviewAtInsert();
    const int chosen = preview ? RunBloqInsPrevDlgEx(*doc, block, name, rotation, sx, sy)
                               : RunInsertarDlgEx(*doc, block, name, rotation, sx, sy);
    if (chosen != 1)
        return;  // Cancel adds nothing
    if (!block || FindBlock(name) != block) {
        AfxMessageBox("The block " + name + " is not in the drawing.", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    m_pickedEntity = block;
    CInsBl* insert = doc->AddInsBl();
    insert->m_block = block->m_name;
    // Blocks whose names do not start like "ZP" go on the layer of their name.
    if (!name.empty() && name.front() != 'Z') {
        CLayer* layer = nullptr;
        if (!doc->FindLayer(name, layer)) {
            layer = doc->AddLayer(doc->m_color, 1);
            layer->m_name = name;
        }
        insert->m_layer = name;
        doc->GetLastEntityRecord()->m_visible = layer->m_on;
    }
    insert->m_insert = p;
    insert->m_rotation = rotation;
    insert->m_sx = sx;
    insert->m_sy = sy;
    ShowNew(ENT_INSERT, insert);
    RecordAdded(ENT_INSERT);
}

CBloq* CRectaView::LiveBlock(const CBloq* block) const
{
    const CRectaDoc* doc = GetDocument();
    for (POSITION pos = doc->GetFirstBlockPosition(); block && pos;)
        if (CBloq* b = doc->GetNextBlock(pos); b == block)
            return b;
    return nullptr;
}

bool CRectaView::Run3DStep(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    const int camera = std::clamp(doc->m_toolWords[TW_CAMERA], 0, 5);
    const int light = std::clamp(doc->m_toolWords[TW_LIGHT], 0, 5);
    // The camera symbols go straight onto the view's image.
    auto drawSymbol = [&](bool eye, const CPointd& at) {
        if (!ScaleUsable())
            return;
        auto dc = GetClientDC();
        if (eye)
            ViewTools().DrawCamera(*dc, Map(), *doc, camera, at);
        else
            ViewTools().DrawTarget(*dc, Map(), *doc, camera, at);
    };
    switch (m_command) {
    case CMD_3DFACE:
        m_command = CMD_3DFACE_2;
        m_bandState = 1;
        doc->m_toolPoints[1] = m_bandStart = m_bandEnd = p;
        ShowPrompt(0, "Point 2:");
        return true;
    case CMD_3DFACE_2:
    case CMD_3DFACE_3:
        doc->m_toolPoints[m_command == CMD_3DFACE_2 ? 2 : 3] = p;
        EraseRubberBand();
        ShowPrompt(0, m_command == CMD_3DFACE_2 ? "Point 3:" : "Point 4:");
        m_bandStart = m_bandEnd = p;
        m_command = m_command == CMD_3DFACE_2 ? CMD_3DFACE_3 : CMD_3DFACE_4;
        return true;
    case CMD_3DFACE_4:
        m_command = CMD_NONE;
        m_bandState = 0;
        doc->m_toolPoints[4] = p;
        EraseRubberBand();
        AddFaceFromToolPoints();
        return true;
    case CMD_CAMERA:
        doc->m_toolPoints[0] = p;
        doc->m_cameraEye[camera] = p;
        drawSymbol(true, p);
        m_command = CMD_NONE;
        m_mode = 0;
        ClearPrompt();
        return true;
    case CMD_CAMERA_TARGET:
        doc->m_toolPoints[0] = p;
        doc->m_cameraTarget[camera] = p;
        drawSymbol(false, p);
        m_command = CMD_NONE;
        m_mode = 0;
        ClearPrompt();
        EraseRubberBand();
        m_bandState = 0;
        return true;
    case CMD_FOCAL_PLANE: {
        const CPointd& eye = doc->m_cameraEye[camera];
        const double d = Distance3(eye, p);
        doc->m_focalDistance = d;
        RestoreOrtho();
        RestoreRefAngle();
        const double toTarget = Distance3(eye, doc->m_cameraTarget[camera]);
        if (toTarget > 0.0)  // a target on the eye leaves the ratio alone
            doc->m_cameraLens[camera] = d / toTarget;
        EraseRubberBand();
        m_command = CMD_NONE;
        m_mode = m_bandState = 0;
        ClearPrompt();
        return true;
    }
    case CMD_LIGHT:
        m_command = CMD_LIGHT_TARGET;
        TakeFirstPoint(p);
        ShowPrompt(0, "To point:");
        return true;
    case CMD_LIGHT_TARGET:
        ClearPrompt();
        m_secondPoint = p;
        doc->m_lightPos[light] = m_firstPoint;
        doc->m_lightTarget[light] = m_secondPoint;
        EraseRubberBand();
        m_command = CMD_NONE;
        m_mode = m_bandState = 0;
        return true;
    case CMD_PLANE_3_POINTS:
    case CMD_PLANE_VERTICAL:
        m_command = m_command == CMD_PLANE_3_POINTS ? CMD_PLANE_3_POINTS_EDGE_X : CMD_PLANE_VERTICAL_EDGE_X;
        TakeFirstPoint(p);
        ShowPrompt(0, "Other point (edge X):");
        return true;
    case CMD_PLANE_3_POINTS_EDGE_X:
        m_command = CMD_PLANE_3_POINTS_EDGE_Y;
        TakeSecondPoint(p);
        ShowPrompt(0, "Other point (edge Y):");
        return true;
    case CMD_PLANE_3_POINTS_EDGE_Y:
        m_command = CMD_NONE;
        m_bandState = 0;
        ClearPrompt();
        EraseRubberBand();
        SetWorkingPlane(m_firstPoint, m_secondPoint, p, p, 2);
        return true;
    case CMD_PLANE_VERTICAL_EDGE_X:
        m_command = CMD_PLANE_VERTICAL_FROM;
        TakeSecondPoint(p);
        ShowPrompt(0, "Visible from:");
        return true;
    case CMD_PLANE_VERTICAL_FROM:
        m_command = CMD_PLANE_VERTICAL_TO;
        EraseRubberBand();
        m_winCorner = p;
        m_bandStart = m_bandEnd = m_firstPoint;
        ShowPrompt(0, "Visible to:");
        return true;
    case CMD_PLANE_VERTICAL_TO:
        m_command = CMD_NONE;
        m_bandState = 0;
        ClearPrompt();
        EraseRubberBand();
        SetWorkingPlane(m_firstPoint, m_secondPoint, m_winCorner, p, 1);
        return true;
    case CMD_SECTION:
        m_command = CMD_SECTION_SECOND;
        TakeFirstPoint(p);
        ShowPrompt(0, "Other point:");
        return true;
    case CMD_SECTION_SECOND:
        m_command = CMD_SECTION_VISIBLE_TO;
        TakeSecondPoint(p);
        ShowPrompt(0, "Visible to:");
        return true;
    case CMD_SECTION_VISIBLE_TO:
        EraseRubberBand();
        ResetCommand();
        ViewTools().OpenSectionView(m_firstPoint, m_secondPoint, p);
        return true;
    case CMD_OBJECT_ELEVATION: {
        // Cancel keeps the object as it was, with no undo state.
        if (CDib* record = LiveRecord(m_pickedSerial, m_pickedEntity)) {
            AddUndoStep(UNDO_CHANGED, record->m_type, record, doc->FindEntityBySerial(record->m_serial));
            doc->DrawInAllViews(0, record);
            const bool changed = RunZObjetoDlg(record->m_entity, record->m_type) == 1;
            doc->DrawInAllViews(1, record);
            if (changed)
                SaveUndoState();
            ClearPendingSteps();
        }
        m_mode = MODE_PICK;
        return true;
    }
    case CMD_REVOLUTION_AXIS:
        m_command = CMD_REVOLUTION_PLINE;
        m_mode = MODE_PICK;
        ShowPrompt(0, "Select Polyline:");
        return true;
    case CMD_REVOLUTION_PLINE:
    case CMD_TABULATED_PLINE: {
        const CommandCode code = m_command;
        m_command = CMD_NONE;
        m_mode = 0;
        ClearPrompt();
        // Picked objects that left the drawing go as none: the generator says what it misses.
        const CDib* profile = LiveRecord(m_pickedPolylineSerial, m_pickedPolyline);
        const CDib* axis = LiveRecord(m_workSerial, m_workEntity);
        auto* pl = profile ? static_cast<CPLine*>(profile->m_entity) : nullptr;
        if (code == CMD_REVOLUTION_PLINE)
            ViewTools().GenSupRev(*doc, *this, axis ? static_cast<CRecta*>(axis->m_entity) : nullptr, pl);
        else
            ViewTools().GenSupTab(*doc, *this, pl);
        return true;
    }
    default: return false;
    }
}

bool CRectaView::RunArchStep(const CPointd& p)
{
    CRectaDoc* doc = GetDocument();
    CViewTools& tools = ViewTools();
    auto closesWithSelection = [&] {
        CloseState();
        ClearSelection();
    };
    // Second points of the door and window steps: the band starts again there.
    auto takeInsertPoint = [&](CommandCode next, const char* prompt) {
        m_command = next;
        EraseRubberBand();
        m_secondPoint = m_bandStart = m_bandEnd = p;
        ShowPrompt(0, prompt);
    };
    auto takeFirst = [&](CommandCode next, const char* prompt) {
        TakeFirstPoint(p);
        m_command = next;
        ShowPrompt(0, prompt);
    };
    switch (m_command) {
    case CMD_WALL: takeFirst(CMD_WALL_END, "To point:"); return true;
    case CMD_WALL_END:
        ShowPrompt(0, "To Side:");
        TakeSecondPoint(p);
        OverrideOrtho(0);
        m_command = CMD_WALL_SIDE;
        return true;
    case CMD_WALL_SIDE: {
        EraseRubberBand();
        RestoreOrtho();
        const CPointd start = m_firstPoint;
        m_firstPoint = m_bandStart = m_bandEnd = m_secondPoint;
        m_command = CMD_WALL_END;
        // The next wall's prompt goes first, so that a refusal replaces it; a
        // wall not made is not counted in the chain.
        ShowPrompt(0, "To point:");
        if (tools.MakeWall(*doc, *this, start, m_secondPoint, p, doc->m_wallCounter + 1, 0, doc->m_wallOffset))
            ++doc->m_wallCounter;
        return true;
    }
    case CMD_WALL_SKIP_POINT: m_command = CMD_WALL_END; return true;
    case CMD_PILLAR: {
        UnhighlightSelection();
        m_mode = 0;
        if (!TwoPickLinesThere())
            return true;
        CPointd corner;
        if (!tools.IntersectSelectedLines(*doc, *this, corner)) {
            ClearSelection();
            ResetCommand();
            ShowPrompt(0, "Pillar: the reference lines do not meet");
            return true;
        }
        m_command = CMD_PILLAR_SIDE;
        m_bandState = 1;
        m_firstPoint = m_bandStart = m_bandEnd = corner;
        OverrideOrtho(0);
        ShowPrompt(0, "To (side):");
        return true;
    }
    case CMD_PILLAR_SIDE:
        ClearPrompt();
        m_secondPoint = p;
        EraseRubberBand();
        RestoreOrtho();
        tools.MakePillar(*doc, *this, m_firstPoint, m_secondPoint);
        closesWithSelection();
        m_command = CMD_NONE;
        m_mode = m_bandState = 0;
        return true;
    case CMD_WINDOW_IN_WALL:
        m_command = CMD_WINDOW_EXT_POINT;
        m_bandState = 1;
        m_firstPoint = m_secondPoint = m_bandStart = m_bandEnd = p;
        ShowPrompt(0, "Towards (Ext.Wall):");
        return true;
    case CMD_WINDOW: takeFirst(CMD_WINDOW_INT_POINT, "Insert Point(Int. Wall):"); return true;
    case CMD_WINDOW_INT_POINT: takeInsertPoint(CMD_WINDOW_EXT_POINT, "Insert Point(Ext. Wall):"); return true;
    case CMD_WINDOW_EXT_POINT:
        m_command = CMD_NONE;
        m_mode = 0;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        tools.BuildWindow(*doc, *this, m_firstPoint, m_secondPoint, p);
        CloseState();
        return true;
    case CMD_DOOR: takeFirst(CMD_DOOR_EXT_POINT, "Insert Point(Ext.Wall):"); return true;
    case CMD_DOOR_EXT_POINT: takeInsertPoint(CMD_DOOR_INT_POINT, "Insert Point(Int.Wall):"); return true;
    case CMD_DOOR_INT_POINT:
        m_command = CMD_NONE;
        m_mode = 0;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        switch (doc->m_toolWords[TW_DOOR_KIND]) {
        case 1: tools.BuildDoor(*doc, *this, m_firstPoint, m_secondPoint, p); break;
        case 2: tools.BuildDoorD(*doc, *this, m_firstPoint, m_secondPoint, p); break;
        case 3:
            tools.BuildDoorUnequal(*doc, *this, m_firstPoint, m_secondPoint, p, doc->m_toolReals[4],
                                   doc->m_toolReals[7]);
            break;
        default: break;
        }
        CloseState();
        return true;
    case CMD_COPY_DOOR:
    case CMD_COPY_WINDOW:
        m_command = m_command == CMD_COPY_DOOR ? CMD_COPY_DOOR_REF : CMD_COPY_WINDOW_REF;
        m_mode = m_bandState = 0;
        ShowPrompt(0, m_command == CMD_COPY_DOOR_REF ? "Ref.Point (Ext.Wall):" : "Ref.Point (Int.Wall):");
        return true;
    case CMD_COPY_DOOR_REF: takeFirst(CMD_COPY_DOOR_EXT_POINT, "Insert Point(Ext.Wall):"); return true;
    case CMD_COPY_DOOR_EXT_POINT: takeInsertPoint(CMD_COPY_DOOR_INT_POINT, "Insert point (Int. Wall):"); return true;
    case CMD_COPY_WINDOW_REF: takeFirst(CMD_COPY_WINDOW_INT_POINT, "Insert Point (Int.Wall):"); return true;
    case CMD_COPY_WINDOW_INT_POINT: takeInsertPoint(CMD_COPY_WINDOW_EXT_POINT, "Ext.Wall:"); return true;
    case CMD_COPY_DOOR_INT_POINT:
    case CMD_COPY_WINDOW_EXT_POINT: {
        const bool door = m_command == CMD_COPY_DOOR_INT_POINT;
        m_command = CMD_NONE;
        m_mode = MODE_PICK;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        // An insert that left the drawing since it was picked goes as none: the generator says so.
        const CDib* record = LiveRecord(m_pickedSerial, m_pickedEntity);
        CObject* insert = record && record->m_type == ENT_INSERT ? record->m_entity : nullptr;
        if (door)
            tools.PlaceDoorCopy(*doc, *this, m_firstPoint, m_secondPoint, p, insert);
        else
            tools.PlaceWindowCopy(*doc, *this, m_firstPoint, m_secondPoint, p, insert);
        closesWithSelection();
        return true;
    }
    case CMD_AUTO_DIMS: takeFirst(CMD_AUTO_DIMS_SECOND, "To point:"); return true;
    case CMD_AUTO_DIMS_SECOND:
        m_command = CMD_AUTO_DIMS_LINE;
        m_mode = 0;
        EraseRubberBand();
        m_secondPoint = p;
        m_bandState = 0;
        ShowPrompt(0, "Insert Point:");
        return true;
    case CMD_AUTO_DIMS_LINE:
        ResetCommand();
        tools.MakeAutoDims(*doc, *this, m_firstPoint, m_secondPoint, p);
        closesWithSelection();
        return true;
    case CMD_STAIR_FLIGHTS: takeFirst(CMD_STAIR_LENGTH, "To point (Stair Lenght):"); return true;
    case CMD_STAIR_LENGTH:
        m_command = CMD_STAIR_WIDTH;
        TakeSecondPoint(p);
        ShowPrompt(0, "To point (Stair Flight Width):");
        return true;
    case CMD_STAIR_WIDTH:
        EraseRubberBand();
        ResetCommand();
        if (doc->m_toolWords[TW_STAIR_KIND] == 1)
            tools.GenEscaleraRecta(*doc, *this, m_firstPoint, m_secondPoint, p);
        else
            tools.GenEscaleraDosTramos(*doc, *this, m_firstPoint, m_secondPoint, p);
        return true;
    case CMD_STAIR_SPIRAL: takeFirst(CMD_STAIR_SPIRAL_START, "Start Point:"); return true;
    case CMD_STAIR_SPIRAL_START:
        EraseRubberBand();
        ResetCommand();
        tools.GenEscaleraEspiral(*doc, *this, m_firstPoint, p);
        return true;
    case CMD_WALL_JOINT_L_INNER:
        RestoreOrtho();
        m_secondPoint = p;
        m_command = CMD_NONE;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        WallJointL();
        closesWithSelection();
        return true;
    default: return false;
    }
}
