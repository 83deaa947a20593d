// The Qt widget that shows a plan view and hands it the mouse and the size.
#pragma once

#include "view2d/rectaview.h"

#include <QWidget>

#include <memory>

class CRectaDoc;

// Windows-style key flags (MK_*) for the buttons and modifiers held.
unsigned MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

class CRectaViewWidget : public QWidget, public CViewHost {
    Q_OBJECT
public:
    // Adds a new view to doc; an aerial view gets its flag before the initial update.
    CRectaViewWidget(CRectaDoc* doc, bool aerial, QWidget* parent = nullptr);
    // Removes the view from its document and deletes the document when no
    // view is left, unless the document is kept.
    ~CRectaViewWidget() override;
    // The document outlives this view: whoever made it deletes it.
    void KeepDocument() { m_deletesDocument = false; }

    CRectaView& View() { return *m_view; }
    CRectaDoc* Document() const { return m_view->GetDocument(); }

    void UpdateWindow() override;
    // Taking the mouse hides a shown quick tip.
    void SetMouseCapture(bool capture) override;
    void PrintWindow(bool preview) override;
    void SetCursorShape(ViewCursor cursor) override;
    bool PreviewAtInsert() const override;
    std::string AskFileName(const FileQuestion& question) override;
    bool Captured() const { return m_captured; }
    // The widget's mouse events move an object that the left button holds.
    bool ReportsDrags() const override { return true; }

    QSize sizeHint() const override { return {640, 420}; }

protected:
    enum class Mouse { LeftDown, RightDown, MiddleDown, Move, LeftUp };
    // Delivers one mouse message to the view.
    virtual void SendMouse(Mouse msg, unsigned flags, CPoint point);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    std::unique_ptr<CRectaView> m_view;
    bool m_captured = false;
    bool m_deletesDocument = true;
};
