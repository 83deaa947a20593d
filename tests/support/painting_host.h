// A view host that collects paint requests; Paint then paints once, as the
// widget's paint event does after the event that asked.
#pragma once

#include "view2d/rectaview.h"

class PaintingHost : public CViewHost {
public:
    explicit PaintingHost(CRectaView& view) : m_view(view) {}
    void UpdateWindow() override { m_requested = true; }
    void SetMouseCapture(bool) override {}
    void Paint()
    {
        if (m_requested)
            m_view.Image();
        m_requested = false;
    }

private:
    CRectaView& m_view;
    bool m_requested = false;
};
