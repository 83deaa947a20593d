#include "app/mdichild.h"

#include "app/mainwnd.h"
#include "app/rectaapp.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "platform/msgbox.h"

#include <QCloseEvent>

#include <algorithm>

Cwm_MDICHILDWnd::Cwm_MDICHILDWnd(CRectaDoc* doc, QWidget* parent)
    : QMdiSubWindow(parent), m_viewWidget(new CRectaViewWidget(doc, false))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWidget(m_viewWidget);
    setWindowTitle(QString::fromStdString(doc->GetTitle()));
}

CRectaView& Cwm_MDICHILDWnd::View() const
{
    return m_viewWidget->View();
}

CRectaDoc* Cwm_MDICHILDWnd::Document() const
{
    return m_viewWidget->Document();
}

void Cwm_MDICHILDWnd::closeEvent(QCloseEvent* event)
{
    CRectaDoc* doc = Document();
    // The drawings edited over this view, and with the drawing's last window
    // those of all its objects, go back into their objects first.
    const auto* main = MainFrame();
    const auto frames = main ? main->Children() : std::vector<Cwm_MDICHILDWnd*>{};
    const bool last = std::none_of(frames.begin(), frames.end(),
                                   [this, doc](auto* c) { return c != this && c->Document() == doc; });
    theApp.m_server.CloseFor(last ? doc : nullptr, &View());
    if (doc && doc->QuerySaveOnClose() == IDCANCEL) {
        event->ignore();
        return;
    }
    m_closing = true;
    emit closing(this);
    QMdiSubWindow::closeEvent(event);
}
