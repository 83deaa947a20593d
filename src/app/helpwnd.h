// The quick tip of the tool palettes: a small top-level window beside the button.
#pragma once

#include <QWidget>

class Cwm_HelpWndWnd : public QWidget {
    Q_OBJECT
public:
    Cwm_HelpWndWnd();

    // Shows text with its top-left corner at the screen point; shown := 1.
    void ShowTip(const QString& text, QPoint at);
    // shown := 0; the window goes to (0, 0, 0, 0), hidden.
    void HideTip();
    QString text() const { return m_text; }

    int m_shown = 0;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    QString m_text;
};
