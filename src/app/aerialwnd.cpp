#include "app/aerialwnd.h"

#include "app/viewwidget.h"
#include "doc/rectadoc.h"

#include <QVBoxLayout>

Cwm_V2Wnd::Cwm_V2Wnd(CRectaDoc* doc, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_viewWidget(new CRectaViewWidget(doc, true))
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Aerial View - " + QString::fromStdString(doc->GetTitle()));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_viewWidget);
    resize(320, 220);
}

CRectaView& Cwm_V2Wnd::View() const
{
    return m_viewWidget->View();
}

CRectaDoc* Cwm_V2Wnd::Document() const
{
    return m_viewWidget->Document();
}
