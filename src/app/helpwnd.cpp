#include "app/helpwnd.h"

#include "doc/renderer.h"
#include "platform/imagedc.h"
#include "platform/logfont.h"

#include <QPainter>

namespace {

constexpr COLORREF kTipBackground = RGB(255, 255, 225);
constexpr int kMargin = 4;

LOGFONT TipFont()
{
    LOGFONT font;
    font.lfHeight = -12;
    font.lfWeight = FW_NORMAL;
    font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
    SetFaceName(font, "Arial");
    return font;
}

}  // namespace

Cwm_HelpWndWnd::Cwm_HelpWndWnd() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint)
{
    setWindowTitle("HelpWnd");
}

void Cwm_HelpWndWnd::ShowTip(const QString& text, QPoint at)
{
    m_text = text;
    // The text's size in the tip's font, measured on a scratch image.
    CImageDC measure(1, 1);
    CFont font;
    font.CreateFontIndirect(TipFont());
    measure.SelectObject(&font);
    const LSize size = measure.GetTextExtent(text.toStdString());
    setGeometry(at.x(), at.y(), int(size.cx) + 2 * kMargin, int(size.cy) + 2 * kMargin);
    show();
    raise();
    update();
    m_shown = 1;
}

void Cwm_HelpWndWnd::HideTip()
{
    m_shown = 0;
    setGeometry(0, 0, 0, 0);
    hide();
}

void Cwm_HelpWndWnd::paintEvent(QPaintEvent*)
{
    const int w = width(), h = height();
    if (w <= 0 || h <= 0)
        return;
    CImageDC dc(w, h);
    dc.SetBkColor(kTipBackground);
    FillClientBackground(dc, w, h);
    FrameClientRect(dc, w, h, RGB(0, 0, 0));
    DrawToolTipText(dc, m_text.toStdString(), {0, 0}, 3, TipFont(), RGB(0, 0, 0), {0, 0}, {w, h}, 0);
    QPainter(this).drawImage(0, 0, dc.Image());
}
