#include "app/rectaapp.h"

#include "app/inplaceframe.h"
#include "app/mainwnd.h"
#include "doc/rectadoc.h"
#include "view2d/rectaview.h"

CRectaApp theApp;

CRectaApp::CRectaApp()
{
    InstallAppHost(this);
    InstallViewTools(&m_viewTools);
    COleServerDoc::SetInPlaceFrameMaker(MakeInPlaceFrame);
    InstallEmbeddedDrawingServer(&m_server);
}

CRectaApp::~CRectaApp()
{
    InstallEmbeddedDrawingServer(nullptr);
    COleServerDoc::SetInPlaceFrameMaker(nullptr);
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

void CRectaApp::SetInPlace(int active, CView* view)
{
    m_inPlaceActive = active;
    m_inPlaceView = active ? dynamic_cast<CRectaView*>(view) : nullptr;
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
    if (!m_inPlaceActive || !m_inPlaceView)
        return 0;
    view = m_inPlaceView;
    doc = view->GetDocument();
    return 1;
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
