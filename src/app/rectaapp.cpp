#include "app/rectaapp.h"

CRectaApp theApp;

void CStatusPanes::SetPaneText(int pane, const std::string& text)
{
    if (pane < 0 || pane >= kPanes)
        return;
    m_text[pane] = text;
    if (m_onChange)
        m_onChange(pane);
}

int CRectaApp::GetCurrentView(CRectaView*& view, CRectaDoc*& doc) const
{
    view = nullptr;
    doc = nullptr;
    return 0;
}
