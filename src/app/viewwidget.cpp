#include "app/viewwidget.h"

#include "app/mainwnd.h"
#include "res/cursors.h"

#include "doc/rectadoc.h"

#include <QMouseEvent>
#include <QPainter>

unsigned MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    unsigned flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (modifiers & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        flags |= MK_CONTROL;
    return flags;
}

CRectaViewWidget::CRectaViewWidget(CRectaDoc* doc, bool aerial, QWidget* parent)
    : QWidget(parent), m_view(std::make_unique<CRectaView>())
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    doc->AddView(m_view.get());
    m_view->m_aerial = aerial ? 1 : 0;
    m_view->SetHost(this);
    m_view->OnInitialUpdate();
}

CRectaViewWidget::~CRectaViewWidget()
{
    m_view->SetHost(nullptr);
    CDocument* doc = m_view->GetDocument();
    m_view.reset();
    if (doc && doc->GetViews().empty() && m_deletesDocument)
        delete doc;
}

void CRectaViewWidget::UpdateWindow()
{
    update();
}

void CRectaViewWidget::SetMouseCapture(bool capture)
{
    m_captured = capture;
    if (capture)
        HideQuickTip();
}

void CRectaViewWidget::SendMouse(Mouse msg, unsigned flags, CPoint point)
{
    switch (msg) {
    case Mouse::LeftDown: m_view->OnLButtonDown(flags, point); break;
    case Mouse::RightDown: m_view->OnRButtonDown(flags, point); break;
    case Mouse::MiddleDown: m_view->OnMButtonDown(flags, point); break;
    case Mouse::Move: m_view->OnMouseMove(flags, point); break;
    case Mouse::LeftUp: m_view->OnLButtonUp(flags, point); break;
    }
}

void CRectaViewWidget::paintEvent(QPaintEvent*)
{
    const CViewPaintScope painting;
    QPainter painter(this);
    const QImage& image = m_view->Image();
    painter.drawImage(0, 0, image);
    // Whatever the image does not cover (before the first size) stays white.
    if (image.width() < width())
        painter.fillRect(image.width(), 0, width() - image.width(), height(), Qt::white);
    if (image.height() < height())
        painter.fillRect(0, image.height(), width(), height() - image.height(), Qt::white);
}

void CRectaViewWidget::resizeEvent(QResizeEvent* event)
{
    m_view->OnSize(width(), height());
    QWidget::resizeEvent(event);
}

void CRectaViewWidget::mousePressEvent(QMouseEvent* event)
{
    // An object following the mouse has it until the left button goes up.
    if (m_view->IsDraggingItem()) {
        event->accept();
        return;
    }
    const CPoint point{event->position().toPoint().x(), event->position().toPoint().y()};
    const unsigned flags = MouseKeyFlags(event->buttons(), event->modifiers());
    switch (event->button()) {
    case Qt::LeftButton: SendMouse(Mouse::LeftDown, flags, point); break;
    case Qt::RightButton: SendMouse(Mouse::RightDown, flags, point); break;
    case Qt::MiddleButton: SendMouse(Mouse::MiddleDown, flags, point); break;
    default: QWidget::mousePressEvent(event); return;
    }
    event->accept();
}

void CRectaViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    SendMouse(Mouse::Move, MouseKeyFlags(event->buttons(), event->modifiers()), CPoint{p.x(), p.y()});
}

void CRectaViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    SendMouse(Mouse::LeftUp, MouseKeyFlags(event->buttons(), event->modifiers()), CPoint{p.x(), p.y()});
}

void CRectaViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    const QPoint p = event->position().toPoint();
    m_view->OnLButtonDblClk(MouseKeyFlags(event->buttons(), event->modifiers()), CPoint{p.x(), p.y()});
}

void CRectaViewWidget::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    // An object active in place takes the keyboard in its own window.
    if (!m_view->OnSetFocus())
        return;
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child->isVisible()) {
            child->setFocus();
            return;
        }
}

void CRectaViewWidget::PrintWindow(bool preview)
{
    if (Cwm_MainWnd* frame = MainFrame())
        frame->PrintActiveView(preview);
}

bool CRectaViewWidget::PreviewAtInsert() const
{
    const Cwm_MainWnd* frame = MainFrame();
    return frame && frame->m_previewAtInsert != 0;
}

std::string CRectaViewWidget::AskFileName(const FileQuestion& question)
{
    const Cwm_MainWnd* frame = MainFrame();
    return frame ? frame->AskFileName(question) : std::string();
}

void CRectaViewWidget::leaveEvent(QEvent* event)
{
    m_view->OnMouseLeave();
    QWidget::leaveEvent(event);
}

void CRectaViewWidget::SetCursorShape(ViewCursor cursor)
{
    switch (cursor) {
    case ViewCursor::pick: setCursor(PickCursor()); break;
    case ViewCursor::snap: setCursor(SnapCursor()); break;
    case ViewCursor::sizeAll: setCursor(Qt::SizeAllCursor); break;
    case ViewCursor::sizeNWSE: setCursor(Qt::SizeFDiagCursor); break;
    case ViewCursor::sizeNESW: setCursor(Qt::SizeBDiagCursor); break;
    case ViewCursor::sizeNS: setCursor(Qt::SizeVerCursor); break;
    case ViewCursor::sizeWE: setCursor(Qt::SizeHorCursor); break;
    default: setCursor(Qt::CrossCursor); break;
    }
}
