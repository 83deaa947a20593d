#include "app/rectaapp.h"

#include "view2d/rectaview.h"

#include "app/mainwnd.h"
#include "doc/rectadoc.h"

CRectaApp theApp;

CRectaApp::CRectaApp()
{
    InstallAppHost(this);
    InstallViewTools(&m_viewTools);
}

CRectaApp::~CRectaApp()
{
    InstallViewTools(nullptr);
    InstallAppHost(nullptr);
}

void CStatusPanes::SetPaneText(int pane, const std::string& text)
{
    if (pane < 0 || pane >= kPanes)
        return;
    m_text[pane] = text;
    if (m_onChange)
        m_onChange(pane);
}

bool CRectaApp::FillsHatches() const
{
    const Cwm_MainWnd* frame = MainFrame();
    return !frame || frame->m_rasterHatch != 0;
}

bool CRectaApp::ShowsBitmaps() const
{
    const Cwm_MainWnd* frame = MainFrame();
    return !frame || frame->m_showBitmaps != 0;
}

bool CRectaApp::IsActiveDrawing(const CDocument& doc) const
{
    CRectaView* view = nullptr;
    CRectaDoc* active = nullptr;
    return !GetActiveView(view, active) || static_cast<const CDocument*>(active) == &doc;
}

int CRectaApp::GetCurrentView(CRectaView*& view, CRectaDoc*& doc) const
{
    view = nullptr;
    doc = nullptr;
    return 0;
}

CView* CRectaApp::ActiveView() const
{
    CRectaView* view = nullptr;
    CRectaDoc* doc = nullptr;
    GetActiveView(view, doc);
    return view;
}

int CRectaApp::GetActiveView(CRectaView*& view, CRectaDoc*& doc) const
{
    if (GetCurrentView(view, doc))
        return 1;
    if (const Cwm_MainWnd* frame = MainFrame()) {
        view = frame->ActiveView();
        doc = frame->ActiveDocument();
    }
    return view ? 1 : 0;
}
