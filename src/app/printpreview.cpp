#include "app/printpreview.h"

#include "app/printing.h"
#include "app/viewwidget.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

CPrintPreviewDlg::CPrintPreviewDlg(CRectaViewWidget* widget, const QPageLayout& layout,
                                   std::function<void()> print, QWidget* parent)
    : QDialog(parent), m_widget(widget), m_pageMm(layout.paintRect(QPageLayout::Millimeter).size()),
      m_scroll(new QScrollArea), m_label(new QLabel)
{
    setWindowTitle("Printing Preview");
    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* text, auto slot) {
        auto* button = new QPushButton(text);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, slot);
        buttons->addWidget(button);
    };
    add("Print...", [print = std::move(print)] {
        if (print)
            print();
    });
    add("Zoom In", [this] { ZoomIn(); });
    add("Zoom Out", [this] { ZoomOut(); });
    add("Whole Page", [this] { FitPage(); });
    buttons->addStretch();
    add("Close", [this] { reject(); });

    m_label->setAlignment(Qt::AlignCenter);
    m_scroll->setWidget(m_label);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    auto* layoutBox = new QVBoxLayout(this);
    layoutBox->addLayout(buttons);
    layoutBox->addWidget(m_scroll, 1);
    resize(720, 820);
    SetDpi(50);
}

void CPrintPreviewDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_fitted) {
        m_fitted = true;
        FitPage();
    }
}

void CPrintPreviewDlg::SetDpi(int dpi)
{
    dpi = std::clamp(dpi, kMinDpi, kMaxDpi);
    if (dpi == m_dpi)
        return;
    m_dpi = dpi;
    Render();
}

void CPrintPreviewDlg::ZoomIn()
{
    SetDpi(int(std::ceil(m_dpi * 1.25)));
}

void CPrintPreviewDlg::ZoomOut()
{
    SetDpi(int(std::floor(m_dpi / 1.25)));
}

void CPrintPreviewDlg::FitPage()
{
    if (m_pageMm.isEmpty())
        return;
    const QSize area = m_scroll->viewport()->size() - QSize(8, 8);
    const double fit = std::min(area.width() / m_pageMm.width(), area.height() / m_pageMm.height()) * 25.4;
    SetDpi(int(std::floor(fit)));
}

void CPrintPreviewDlg::Render()
{
    if (!m_widget || m_pageMm.isEmpty())
        return;
    m_page = RenderPrintPage(m_widget->View(), m_pageMm, m_dpi);
    m_label->setPixmap(QPixmap::fromImage(m_page));
    m_label->resize(m_page.size());
}
