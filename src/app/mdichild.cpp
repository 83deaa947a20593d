#include "app/mdichild.h"

#include "app/mainwnd.h"
#include "app/rectaapp.h"
#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "platform/msgbox.h"

#include <QCloseEvent>
#include <QMdiArea>

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

bool Cwm_MDICHILDWnd::ShowsDrawingAlone() const
{
    const QMdiArea* area = mdiArea();
    if (!area)
        return true;
    for (QMdiSubWindow* window : area->subWindowList()) {
        const auto* other = qobject_cast<const Cwm_MDICHILDWnd*>(window);
        if (other && other != this && !other->IsClosing() && other->Document() == Document())
            return false;
    }
    return true;
}

void Cwm_MDICHILDWnd::closeEvent(QCloseEvent* event)
{
    // The save question belongs to the drawing's last frame: the drawing stays open in the others.
    CRectaDoc* doc = Document();
    // The drawings edited over this view, and with the drawing's last window
    // those of all its objects, go back into their objects first.
    const bool alone = ShowsDrawingAlone();
    theApp.m_server.CloseFor(alone ? doc : nullptr, &View());
    if (doc && alone && doc->QuerySaveOnClose() == IDCANCEL) {
        event->ignore();
        return;
    }
    m_closing = true;
    emit closing(this);
    QMdiSubWindow::closeEvent(event);
}
