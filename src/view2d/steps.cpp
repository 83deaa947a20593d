// Command steps of the click state machine, and the print window.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"
#include "doc/rectadoc.h"
#include "model/dib.h"
#include "model/tdface.h"
#include "platform/imagedc.h"
#include "view2d/undo.h"
#include "view2d/viewtools.h"

#include <algorithm>
#include <cmath>

namespace {

double Distance3(const CPointd& a, const CPointd& b)
{
    return std::sqrt((b.x - a.x) * (b.x - a.x) + (b.y - a.y) * (b.y - a.y) + (b.z - a.z) * (b.z - a.z));
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

bool CRectaView::RunCommandStep(const CPointd& p)
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
        if (m_host)
            m_host->UpdateWindow();
    };
    switch (m_command) {
    case CMD_MOVE_BASE:
    case CMD_COPY_BASE:
        m_command = m_command == CMD_MOVE_BASE ? CMD_MOVE_TARGET : CMD_COPY_TARGET;
        m_firstPoint = m_bandStart = m_bandEnd = p;
        m_bandState = 1;
        ShowPrompt(0, "To point:");
        return true;
    case CMD_MOVE_TARGET:
    case CMD_COPY_TARGET: {
        const bool move = m_command == CMD_MOVE_TARGET;
        m_secondPoint = p;
        m_command = CMD_NONE;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        if (move)
            MoveSelection();
        else
            CopySelection();
        return true;
    }
    case CMD_ROTATE_CENTRE:
    case CMD_ROTATE_COPY_CENTRE: {
        const bool copy = m_command == CMD_ROTATE_COPY_CENTRE;
        m_command = CMD_NONE;
        ClearPrompt();
        RotateSelection(p, copy);
        return true;
    }
    case CMD_BLOCK_BASE:
        m_command = CMD_NONE;
        m_mode = m_bandState = 0;
        ClearPrompt();
        BlockFromSelection(p);
        return true;
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
        m_firstPoint = m_bandStart = m_bandEnd = p;
        m_bandState = 1;
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
    case CMD_PREVIEW_FIRST:
    case CMD_PRINT_FIRST:
        m_command = m_command == CMD_PREVIEW_FIRST ? CMD_PREVIEW_SECOND : CMD_PRINT_SECOND;
        OverrideOrtho(0);
        m_firstPoint = m_bandStart = m_bandEnd = p;
        m_bandState = 1;
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
    default: return false;
    }
}
