// The 3D-view frame: a window showing a 3D view of a drawing, from the
// drawing's current camera or as a section. It closes without the save
// question; the drawing goes with the last of its windows.
#pragma once

#include "view3d/view3d.h"

#include <QWidget>

#include <memory>
#include <optional>

class CRectaDoc;

// Shows a 3D view's image and hands the view its size.
class C3DViewWidget : public QWidget {
    Q_OBJECT
public:
    // Adds a new 3D view to doc.
    explicit C3DViewWidget(CRectaDoc* doc, QWidget* parent = nullptr);
    // Removes the view from its document and deletes the document when no view is left.
    ~C3DViewWidget() override;

    CView3D& View() { return *m_view; }
    QSize sizeHint() const override { return {480, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    std::unique_ptr<CView3D> m_view;
};

class Cwm_V3DWnd : public QWidget {
    Q_OBJECT
public:
    // A window over parent showing doc from its current camera, or from section's camera.
    Cwm_V3DWnd(CRectaDoc* doc, const std::optional<C3DCamera>& section, QWidget* parent);

    CView3D& View() const { return m_viewWidget->View(); }
    CRectaDoc* Document() const { return View().GetDocument(); }
    bool IsSection() const { return m_section; }
    // "3D View - " or "Section - " and the drawing's title.
    void UpdateTitle();

private:
    C3DViewWidget* m_viewWidget;
    bool m_section;
};

// Opens a section window on the active drawing: the section line p1-p2, seen
// towards the visible point, the eye at half the document's thickness. Nothing
// without an active drawing, or when the points make no section.
void OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible);
