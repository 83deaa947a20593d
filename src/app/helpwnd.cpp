#include "app/helpwnd.h"

Cwm_HelpWndWnd::Cwm_HelpWndWnd() : QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setWindowTitle("HelpWnd");
    setFrameShape(QFrame::Box);
    setMargin(3);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(255, 255, 225));
    colours.setColor(QPalette::WindowText, Qt::black);
    setPalette(colours);
}

void Cwm_HelpWndWnd::ShowTip(const QString& text, QPoint at)
{
    setText(text);
    adjustSize();
    move(at);
    show();
    raise();
    m_shown = 1;
}

void Cwm_HelpWndWnd::HideTip()
{
    m_shown = 0;
    setGeometry(0, 0, 0, 0);
    hide();
}
