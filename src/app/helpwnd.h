// The quick tip of the tool palettes: a small top-level window beside the button.
#pragma once

#include <QLabel>

class Cwm_HelpWndWnd : public QLabel {
    Q_OBJECT
public:
    Cwm_HelpWndWnd();

    // Shows text with its top-left corner at the screen point; shown := 1.
    void ShowTip(const QString& text, QPoint at);
    // shown := 0; the window goes to (0, 0, 0, 0), hidden.
    void HideTip();

    int m_shown = 0;
};
