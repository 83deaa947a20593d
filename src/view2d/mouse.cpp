// Mouse and keyboard handlers of the plan view.
#include "view2d/rectaview.h"

#include "doc/rectadoc.h"
#include "platform/imagedc.h"

#include <cstdlib>

void CRectaView::OnLButtonDown(unsigned, CPoint point)
{
    if (!ScaleUsable())
        return;
    if (m_aerial && m_zoomState == 0) {
        m_savedPrompt = m_prompt;
        m_zoomState = 1;
    }
    if (m_zoomState == 1) {
        if (!m_aerial && m_bandState == 1)
            EraseRubberBand();
        m_zoomState = 2;
        m_reqMin = DeviceToWorld(point);
        m_zoomDrag = m_reqMin;
        m_zoomPress = point;
        ShowPrompt(0, "Other corner:              ");
        return;
    }
    if (m_zoomState == 2) {
        m_zoomState = 0;
        m_reqMax = DeviceToWorld(point);
        {
            auto dc = GetClientDC();
            InvertRect(*dc, m_reqMin, m_zoomDrag);
        }
        // A window narrower than two pixels is taken as a slip, not a zoom.
        if (std::abs(point.x - m_zoomPress.x) >= 2 && std::abs(point.y - m_zoomPress.y) >= 2)
            ApplyWindow();
        else if (m_host)
            m_host->UpdateWindow();
        m_prompt = m_savedPrompt;
        ShowPrompt(0, m_prompt);
        return;
    }
}

void CRectaView::OnRButtonDown(unsigned, CPoint point)
{
    if (!ScaleUsable())
        return;
    if (m_command == 0 && m_mode == 0) {
        GetPromptText();
        return;
    }
    (void)DeviceToWorld(point);
    if (m_bandState == 1)
        EraseRubberBand();
    m_bandState = 0;
    ClearPrompt();
}

void CRectaView::OnMButtonDown(unsigned, CPoint)
{
    m_bandState = 0;
}

void CRectaView::OnMouseMove(unsigned, CPoint point)
{
    if (!ScaleUsable())
        return;
    m_cursorOutside = 0;
    const CPointd p = DeviceToWorld(point);
    if (m_readoutMode == 2 || m_bandState == 1)
        ShowDistAngle(m_bandStart, p);
    else if (m_readoutMode == 1)
        ShowCoords(p);
    if (m_zoomState == 2) {
        DrawRubberRect(p, m_reqMin, m_zoomDrag, false);
        m_zoomDrag = p;
        return;
    }
    if (m_bandState == 1) {
        if (BandIsRect())
            DrawRubberRect(p, m_bandStart, m_bandEnd, false);
        else
            DrawRubberBand(p, m_bandStart, m_bandEnd, false);
        m_bandEnd = p;
    }
}

void CRectaView::OnChar(unsigned ch)
{
    if (ch == 3)
        CancelCommand();
}
