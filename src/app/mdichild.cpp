#include "app/mdichild.h"

#include "app/viewwidget.h"
#include "doc/rectadoc.h"
#include "platform/msgbox.h"

#include <QCloseEvent>

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
    if (doc && doc->QuerySaveOnClose() == IDCANCEL) {
        event->ignore();
        return;
    }
    m_closing = true;
    emit closing(this);
    QMdiSubWindow::closeEvent(event);
}
