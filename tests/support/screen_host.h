// A view host that keeps what a window would show: the view's image as it was
// at the last paint the view asked for. A view that draws without asking
// leaves the screen behind its image.
#pragma once

#include "view2d/rectaview.h"

#include <QImage>

class ScreenHost : public CViewHost {
public:
    explicit ScreenHost(CRectaView& view) : m_view(view)
    {
        m_view.SetHost(this);
        m_screen = m_view.Image().copy();
    }
    ~ScreenHost() override { m_view.SetHost(nullptr); }
    ScreenHost(const ScreenHost&) = delete;
    ScreenHost& operator=(const ScreenHost&) = delete;

    void UpdateWindow() override { m_requested = true; }
    void SetMouseCapture(bool) override {}

    // The screen after the paints asked for so far.
    const QImage& Screen()
    {
        if (m_requested)
            m_screen = m_view.Image().copy();
        m_requested = false;
        return m_screen;
    }
    // The view painted afresh, as Redraw shows it.
    QImage Redrawn()
    {
        m_view.Invalidate();
        return Screen();
    }

private:
    CRectaView& m_view;
    QImage m_screen;
    bool m_requested = false;
};
