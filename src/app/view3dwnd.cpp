#include "app/view3dwnd.h"

#include "app/mainwnd.h"
#include "doc/rectadoc.h"

#include <QPainter>
#include <QVBoxLayout>

C3DViewWidget::C3DViewWidget(CRectaDoc* doc, QWidget* parent) : QWidget(parent), m_view(std::make_unique<CView3D>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    doc->AddView(m_view.get());
    m_view->m_onChanged = [this] { update(); };
}

C3DViewWidget::~C3DViewWidget()
{
    m_view->m_onChanged = nullptr;
    CDocument* doc = m_view->GetDocument();
    m_view.reset();
    if (doc && doc->GetViews().empty())
        delete doc;
}

void C3DViewWidget::paintEvent(QPaintEvent*)
{
    const CViewPaintScope painting;
    QPainter painter(this);
    painter.drawImage(0, 0, m_view->Image());
}

void C3DViewWidget::resizeEvent(QResizeEvent* event)
{
    m_view->OnSize(width(), height());
    QWidget::resizeEvent(event);
}

Cwm_V3DWnd::Cwm_V3DWnd(CRectaDoc* doc, const std::optional<C3DCamera>& section, QWidget* parent)
    : QWidget(parent, Qt::Window), m_viewWidget(new C3DViewWidget(doc)), m_section(section.has_value())
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (section)
        m_viewWidget->View().SetCamera(*section);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_viewWidget);
    UpdateTitle();
    resize(480, 360);
}

void Cwm_V3DWnd::UpdateTitle()
{
    setWindowTitle((m_section ? "Section - " : "3D View - ") + QString::fromStdString(Document()->GetTitle()));
}

void OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible)
{
    if (Cwm_MainWnd* frame = MainFrame())
        frame->OpenSectionView(p1, p2, visible);
}
