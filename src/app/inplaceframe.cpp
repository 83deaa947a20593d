#include "app/inplaceframe.h"

#include "app/mainwnd.h"
#include "app/menus.h"
#include "app/rectaapp.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "res/commands.h"

#include <QMainWindow>

namespace {

constexpr UINT kButtons[] = {ID_ORTHO,      4010,          ID_SNAP_MODES, ID_FIXED_DISTANCE, ID_ANGLE, ID_REFERENCE_POINT,
                             0,             ID_ZOOM_WINDOW, ID_ZOOM_PREVIOUS, 0,              10034,    10036,
                             4013,          4012,          0,             ID_REDRAW,         ID_CANCEL_COMMAND,
                             ID_UNDO,       ID_REDO,       0,             ID_APP_ABOUT};

// Help index, using help, context help, help, default help.
constexpr int kHelpCommands[] = {57666, 57667, 57668, 57669, 57670};

}  // namespace

CInPlaceFrame::CInPlaceFrame() = default;

CInPlaceFrame::~CInPlaceFrame()
{
    OnDestroy();
}

void CInPlaceFrame::OnDestroy()
{
    if (theApp.m_inPlaceFrame == this) {
        theApp.m_inPlaceFrame = nullptr;
        theApp.m_inPlaceStatus.m_onChange = nullptr;
    }
    m_wndToolBar.DestroyWindow();
    m_wndStatusBar.DestroyWindow();
}

std::span<const UINT> CInPlaceFrame::Buttons()
{
    return kButtons;
}

std::span<const int> CInPlaceFrame::HelpCommands()
{
    return kHelpCommands;
}

int CInPlaceFrame::OnCreate()
{
    if (COleIPFrameWnd::OnCreate() == -1)
        return -1;
    if (!m_wndResizeBar.Create(this, true, kResizeBarId))
        return -1;
    m_dropTarget.Register(this);
    theApp.m_inPlaceFrame = this;
    return 0;
}

bool CInPlaceFrame::OnCreateControlBars(QWidget* frameWnd, QWidget*)
{
    if (!CreateStatusPanes(m_wndStatusBar, frameWnd, kStatusBarId))
        return false;
    if (!m_wndToolBar.Create(frameWnd, true, kToolBarId) || !m_wndToolBar.SetButtons(kButtons))
        return false;
    // A row of its own: beside the frame's bars it would show little more than its first button.
    if (auto* main = qobject_cast<QMainWindow*>(frameWnd))
        main->insertToolBarBreak(m_wndToolBar.GetSafeHwnd());
    for (int i = 0; i < m_wndToolBar.GetCount(); ++i) {
        const int id = int(m_wndToolBar.GetItemID(i));
        const ToolButton* button = FindToolButton(id);
        if (!button)
            continue;
        const char* reason = UnavailableReason(id);
        m_wndToolBar.SetButtonText(i, button->text, reason ? reason : button->tip);
        m_wndToolBar.EnableButton(i, !reason);
    }
    const int swatch = m_wndToolBar.CommandToIndex(kSwatchId);
    auto* colour = new CColorSwatch;
    SetDlgCtrlID(colour, kSwatchId);
    m_wndToolBar.ReplaceButton(swatch, colour);
    m_wndToolBar.m_onCommand = [this](int id) { OnCommand(id); };

    // The panes start empty and show what the drawing edited in place writes.
    theApp.m_inPlaceStatus = CStatusPanes();
    theApp.m_inPlaceStatus.m_onChange = [this](int pane) { ShowPane(pane); };
    return true;
}

void CInPlaceFrame::ShowPane(int pane)
{
    m_wndStatusBar.SetPaneText(pane, theApp.m_inPlaceStatus.GetPaneText(pane), !CViewPaintScope::Active());
    if (pane == 3)
        UpdateColorSwatch();
}

CColorSwatch* CInPlaceFrame::Swatch() const
{
    QToolBar* bar = m_wndToolBar.GetSafeHwnd();
    return bar ? qobject_cast<CColorSwatch*>(FindDescendantById(bar, kSwatchId)) : nullptr;
}

CRectaViewWidget* CInPlaceFrame::ViewWidget() const
{
    return qobject_cast<CRectaViewWidget*>(View());
}

void CInPlaceFrame::UpdateColorSwatch()
{
    CRectaViewWidget* view = ViewWidget();
    CColorSwatch* swatch = Swatch();
    if (view && swatch)
        swatch->SetColor(view->Document()->m_color);
}

void CInPlaceFrame::OnCommand(int id)
{
    for (int help : kHelpCommands)
        if (id == help)
            id = ID_APP_ABOUT;  // the program's help is its about box
    if (Cwm_MainWnd* frame = MainFrame())
        frame->OnCommand(id);
}

COleIPFrameWnd* MakeInPlaceFrame(COleServerDoc& doc, QWidget* parent)
{
    auto* drawing = dynamic_cast<CRectaDoc*>(&doc);
    if (!drawing)
        return nullptr;
    auto* frame = new CInPlaceFrame;
    if (!frame->Create(parent, qobject_cast<QMainWindow*>(parent->window()))) {
        delete frame;
        return nullptr;
    }
    auto* view = new CRectaViewWidget(drawing, false);
    view->KeepDocument();
    frame->SetView(view);
    return frame;
}
