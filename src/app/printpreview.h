// Print preview that renders the page at the resolution it is shown at, so
// every line of the drawing stays visible at every zoom.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPageLayout>
#include <QPointer>

#include <functional>

class CRectaViewWidget;
class QLabel;
class QScrollArea;

class CPrintPreviewDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinDpi = 10;
    static constexpr int kMaxDpi = 600;

    // print runs the print dialog for the same page; the preview stays open.
    CPrintPreviewDlg(CRectaViewWidget* widget, const QPageLayout& layout, std::function<void()> print,
                     QWidget* parent = nullptr);

    // Resolution of the shown page in dots per inch, within [kMinDpi, kMaxDpi].
    int Dpi() const { return m_dpi; }
    void SetDpi(int dpi);
    void ZoomIn();
    void ZoomOut();
    // The whole page in the visible area.
    void FitPage();
    const QImage& Page() const { return m_page; }

protected:
    // The first showing fits the whole page in the laid-out area.
    void showEvent(QShowEvent* event) override;

private:
    void Render();

    QPointer<CRectaViewWidget> m_widget;
    QSizeF m_pageMm;
    QScrollArea* m_scroll;
    QLabel* m_label;
    QImage m_page;
    int m_dpi = 0;
    bool m_fitted = false;
};
