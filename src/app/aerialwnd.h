// The aerial-view frame: a second plan view of a drawing that shows its
// extents with the current window marked; a click pair zooms the other views.
#pragma once

#include <QWidget>

class CRectaDoc;
class CRectaView;
class CRectaViewWidget;

class Cwm_V2Wnd : public QWidget {
    Q_OBJECT
public:
    // A tool window over parent showing doc.
    Cwm_V2Wnd(CRectaDoc* doc, QWidget* parent);

    CRectaViewWidget* ViewWidget() const { return m_viewWidget; }
    CRectaView& View() const;
    CRectaDoc* Document() const;

private:
    CRectaViewWidget* m_viewWidget;
};
