// Command steps of the click state machine, and the print window.
#include "view2d/rectaview.h"

#include "dialogs/rundlg.h"

namespace {

constexpr int kPreviewFirst = 166, kPrintFirst = 167, kPreviewSecond = 276, kPrintSecond = 277;

}  // namespace

void CRectaView::BeginPrintArea()
{
    CancelCommand();
    m_command = kPrintFirst;
    m_mode = m_selCount = m_bandState = 0;
    ShowPrompt(0, "From point:");
}

void CRectaView::BeginPreviewArea()
{
    CancelCommand();
    m_command = kPreviewFirst;
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

bool CRectaView::RunCommandStep(const CPointd& p)
{
    switch (m_command) {
    case kPreviewFirst:
    case kPrintFirst:
        m_command = m_command == kPreviewFirst ? kPreviewSecond : kPrintSecond;
        OverrideOrtho(0);
        m_firstPoint = m_bandStart = m_bandEnd = p;
        m_bandState = 1;
        ShowPrompt(0, "To point:");
        return true;
    case kPreviewSecond:
    case kPrintSecond: {
        const bool preview = m_command == kPreviewSecond;
        m_secondPoint = p;
        EraseRubberBand();
        m_bandState = 0;
        ClearPrompt();
        RestoreOrtho();
        m_command = m_mode = 0;
        // A window of no width or height prints nothing.
        if (m_firstPoint.x != m_secondPoint.x && m_firstPoint.y != m_secondPoint.y && m_host &&
            OnPreparePrinting())
            m_host->PrintWindow(preview);
        return true;
    }
    default: return false;
    }
}
