#include "platform/oleframe.h"

#include "platform/controlbars.h"
#include "platform/oleserver.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

// ---------------------------------------------------------------- in-place frame

COleIPFrameWnd::COleIPFrameWnd()
{
    hide();
}

COleIPFrameWnd::~COleIPFrameWnd()
{
    if (COleServerDoc* doc = std::exchange(m_doc, nullptr))
        doc->OnFrameDestroyed(this);
}

bool COleIPFrameWnd::Create(QWidget* containerWindow, QWidget* containerFrame)
{
    if (!containerWindow)
        return false;
    setParent(containerWindow);
    hide();
    return OnCreate() != -1 && OnCreateControlBars(containerFrame, containerWindow);
}

int COleIPFrameWnd::OnCreate()
{
    return 0;
}

bool COleIPFrameWnd::OnCreateControlBars(QWidget*, QWidget*)
{
    return true;
}

void COleIPFrameWnd::OnDestroy() {}

void COleIPFrameWnd::DestroyWindow()
{
    OnDestroy();
    if (QWidget* container = parentWidget(); container && isAncestorOf(QApplication::focusWidget()))
        container->setFocus();
    hide();
    deleteLater();
}

void COleIPFrameWnd::SetItemRect(const QRect& item)
{
    m_item = item.normalized();
    setGeometry(m_item.adjusted(-kBorder, -kBorder, kBorder, kBorder));
    show();
    raise();
}

void COleIPFrameWnd::SetView(QWidget* view)
{
    m_view = view;
    if (!view)
        return;
    view->setParent(this);
    setFocusProxy(view);  // the keyboard goes to the view
    view->setGeometry(kBorder, kBorder, m_item.width(), m_item.height());
    view->lower();
    view->show();
}

void COleIPFrameWnd::RequestPositionChange(const QRect& item)
{
    if (m_onPositionChange)
        m_onPositionChange(item.normalized());
    else
        SetItemRect(item);
}

void COleIPFrameWnd::resizeEvent(QResizeEvent* event)
{
    if (m_view)
        m_view->setGeometry(kBorder, kBorder, std::max(0, width() - 2 * kBorder),
                            std::max(0, height() - 2 * kBorder));
    QWidget::resizeEvent(event);
}

// ---------------------------------------------------------------- resize bar

bool COleResizeBar::Create(COleIPFrameWnd* frame, bool visible, int id)
{
    if (!frame || m_frame)
        return false;
    m_frame = frame;
    setParent(frame);
    SetDlgCtrlID(this, id);
    setMouseTracking(true);
    frame->installEventFilter(this);
    Cover();
    setVisible(visible);
    return true;
}

void COleResizeBar::Cover()
{
    setGeometry(0, 0, m_frame->width(), m_frame->height());
    const int b = COleIPFrameWnd::kBorder;
    setMask(QRegion(rect()) - QRegion(rect().adjusted(b, b, -b, -b)));
    raise();
}

bool COleResizeBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_frame && event->type() == QEvent::Resize)
        Cover();
    return QWidget::eventFilter(watched, event);
}

QRect COleResizeBar::HandleRect(Handle handle) const
{
    const int b = COleIPFrameWnd::kBorder;
    const int w = width(), h = height();
    const int cx = (w - b) / 2, cy = (h - b) / 2;
    switch (handle) {
    case topLeft: return {0, 0, b, b};
    case top: return {cx, 0, b, b};
    case topRight: return {w - b, 0, b, b};
    case right: return {w - b, cy, b, b};
    case bottomRight: return {w - b, h - b, b, b};
    case bottom: return {cx, h - b, b, b};
    case bottomLeft: return {0, h - b, b, b};
    case left: return {0, cy, b, b};
    default: return {};
    }
}

COleResizeBar::Handle COleResizeBar::HitHandle(QPoint point) const
{
    for (int h = topLeft; h < count; ++h)
        if (HandleRect(Handle(h)).contains(point))
            return Handle(h);
    return none;
}

QRect COleResizeBar::Resized(const QRect& item, Handle handle, QPoint delta)
{
    int l = item.left(), t = item.top(), r = item.right() + 1, b = item.bottom() + 1;
    const bool movesLeft = handle == topLeft || handle == left || handle == bottomLeft;
    const bool movesRight = handle == topRight || handle == right || handle == bottomRight;
    const bool movesTop = handle == topLeft || handle == top || handle == topRight;
    const bool movesBottom = handle == bottomLeft || handle == bottom || handle == bottomRight;
    if (movesLeft)
        l = std::min(l + delta.x(), r - kMinItem);
    if (movesRight)
        r = std::max(r + delta.x(), l + kMinItem);
    if (movesTop)
        t = std::min(t + delta.y(), b - kMinItem);
    if (movesBottom)
        b = std::max(b + delta.y(), t + kMinItem);
    return QRect(QPoint(l, t), QPoint(r - 1, b - 1));
}

void COleResizeBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QBrush(Qt::darkGray, Qt::BDiagPattern));
    for (int h = topLeft; h < count; ++h)
        painter.fillRect(HandleRect(Handle(h)), Qt::black);
}

void COleResizeBar::mousePressEvent(QMouseEvent* event)
{
    m_drag = event->button() == Qt::LeftButton ? HitHandle(event->position().toPoint()) : none;
    m_from = event->globalPosition().toPoint();
    event->accept();
}

void COleResizeBar::mouseMoveEvent(QMouseEvent* event)
{
    static const Qt::CursorShape shapes[] = {Qt::SizeFDiagCursor, Qt::SizeVerCursor, Qt::SizeBDiagCursor,
                                             Qt::SizeHorCursor,   Qt::SizeFDiagCursor, Qt::SizeVerCursor,
                                             Qt::SizeBDiagCursor, Qt::SizeHorCursor};
    const Handle over = m_drag != none ? m_drag : HitHandle(event->position().toPoint());
    setCursor(over == none ? Qt::ArrowCursor : shapes[over]);
    event->accept();
}

void COleResizeBar::mouseReleaseEvent(QMouseEvent* event)
{
    const Handle handle = std::exchange(m_drag, none);
    event->accept();
    if (handle == none || event->button() != Qt::LeftButton || !m_frame)
        return;
    const QPoint delta = event->globalPosition().toPoint() - m_from;
    if (!delta.isNull())
        m_frame->RequestPositionChange(Resized(m_frame->ItemRect(), handle, delta));
}

// ---------------------------------------------------------------- drop target

bool COleDropTarget::Register(QWidget* window)
{
    if (!window || m_window)
        return false;
    m_window = window;
    window->setAcceptDrops(true);
    window->installEventFilter(this);
    return true;
}

void COleDropTarget::Revoke()
{
    if (!m_window)
        return;
    m_window->removeEventFilter(this);
    m_window->setAcceptDrops(false);
    m_window = nullptr;
}

bool COleDropTarget::OnDragEnter(const QMimeData&)
{
    return false;
}

bool COleDropTarget::OnDrop(const QMimeData&, QPoint)
{
    return false;
}

bool COleDropTarget::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_window)
        return false;
    if (event->type() == QEvent::DragEnter) {
        auto* enter = static_cast<QDragEnterEvent*>(event);
        if (OnDragEnter(*enter->mimeData()))
            enter->acceptProposedAction();
        else
            enter->ignore();
        return true;
    }
    if (event->type() == QEvent::Drop) {
        auto* drop = static_cast<QDropEvent*>(event);
        if (OnDrop(*drop->mimeData(), drop->position().toPoint()))
            drop->acceptProposedAction();
        else
            drop->ignore();
        return true;
    }
    return false;
}
