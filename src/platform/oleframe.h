// The frame of a document edited in place: a window lying over the item's
// rectangle inside the container's window, with a border around it where the
// resize bar's handles are; its bars go to the container's frame.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>

class COleServerDoc;
class QMimeData;

class COleIPFrameWnd : public QWidget {
    Q_OBJECT
public:
    // Width of the border around the item.
    static constexpr int kBorder = 6;

    COleIPFrameWnd();
    // A frame destroyed before its document let it go (its container went)
    // ends the document's in-place session.
    ~COleIPFrameWnd() override;

    // Makes the frame a child of containerWindow (hidden until placed), then
    // OnCreate and OnCreateControlBars on containerFrame (null: none).
    // False when either fails.
    bool Create(QWidget* containerWindow, QWidget* containerFrame);
    // Lays the frame over item (in the container window's coordinates) and shows it.
    void SetItemRect(const QRect& item);
    const QRect& ItemRect() const { return m_item; }
    // The document's view: it fills the item's rectangle inside the border.
    void SetView(QWidget* view);
    QWidget* View() const { return m_view; }
    // The resize bar asks for the item to take item: the container decides
    // through m_onPositionChange (which places the frame again); without one
    // the frame takes it.
    void RequestPositionChange(const QRect& item);
    std::function<void(const QRect& item)> m_onPositionChange;
    // The session is over: OnDestroy, the keyboard back to the container's
    // window, the frame hidden, and deleted once the event being delivered
    // returns (it may be one of its view's, a key that switched windows).
    void DestroyWindow();

protected:
    // 0, or -1 when the frame cannot be made.
    virtual int OnCreate();
    // False when a bar cannot be made.
    virtual bool OnCreateControlBars(QWidget* frameWnd, QWidget* docWnd);
    // The frame is taken down: what it put outside itself (its bars) goes now.
    virtual void OnDestroy();
    void resizeEvent(QResizeEvent* event) override;

private:
    friend class COleServerDoc;
    COleServerDoc* m_doc = nullptr;
    QRect m_item;
    QPointer<QWidget> m_view;
};

// Handles on the in-place frame's border; dragging one asks for the item's
// new rectangle through the frame.
class COleResizeBar : public QWidget {
    Q_OBJECT
public:
    enum Handle { none = -1, topLeft, top, topRight, right, bottomRight, bottom, bottomLeft, left, count };

    COleResizeBar() = default;
    // Covers the frame's border; false without a frame or when made already.
    bool Create(COleIPFrameWnd* frame, bool visible, int id);
    // The handle at point (in this window's coordinates), or none.
    Handle HitHandle(QPoint point) const;
    QRect HandleRect(Handle handle) const;
    // The item's rectangle after handle moved by delta, at least kMinItem square.
    static QRect Resized(const QRect& item, Handle handle, QPoint delta);
    static constexpr int kMinItem = 8;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Cover();

    QPointer<COleIPFrameWnd> m_frame;
    Handle m_drag = none;
    QPoint m_from;
};

// Registers a window for dropped data; drops are refused unless a derived
// target takes them.
class COleDropTarget : public QObject {
    Q_OBJECT
public:
    // False without a window or when registered already.
    bool Register(QWidget* window);
    void Revoke();
    QWidget* Window() const { return m_window; }

protected:
    virtual bool OnDragEnter(const QMimeData& data);
    virtual bool OnDrop(const QMimeData& data, QPoint point);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> m_window;
};
