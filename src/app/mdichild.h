// The drawing frame: an MDI child holding one plan view of a document.
#pragma once

#include <QMdiSubWindow>

class CRectaDoc;
class CRectaView;
class CRectaViewWidget;

class Cwm_MDICHILDWnd : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit Cwm_MDICHILDWnd(CRectaDoc* doc, QWidget* parent = nullptr);

    CRectaViewWidget* ViewWidget() const { return m_viewWidget; }
    CRectaView& View() const;
    CRectaDoc* Document() const;
    // True once a close was accepted (the frame is deleted later).
    bool IsClosing() const { return m_closing; }
    // False while another drawing frame of the area shows the same drawing.
    bool ShowsDrawingAlone() const;

signals:
    // Emitted once the close was accepted, before the frame is deleted.
    void closing(Cwm_MDICHILDWnd* frame);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CRectaViewWidget* m_viewWidget;
    bool m_closing = false;
};
