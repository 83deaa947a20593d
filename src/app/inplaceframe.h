// The frame of a drawing edited in place inside another drawing's plan view:
// its status bar and tool bar show in the container's main frame while it
// lives, the resize bar's handles lie on its border.
#pragma once

#include "platform/controlbars.h"
#include "platform/oleframe.h"

#include <span>

class CColorSwatch;
class COleServerDoc;
class CRectaViewWidget;

class CInPlaceFrame : public COleIPFrameWnd {
    Q_OBJECT
public:
    // Ids of the bars and the resize bar.
    static constexpr int kStatusBarId = 0xE801;
    static constexpr int kToolBarId = 0xE800;
    static constexpr int kResizeBarId = 0xE803;
    // The control that shows the current colour.
    static constexpr int kSwatchId = 4013;

    CInPlaceFrame();
    // OnDestroy, if the frame was not taken down before.
    ~CInPlaceFrame() override;

    // The tool bar's buttons in order, 0 a gap.
    static std::span<const UINT> Buttons();
    // Help commands; each runs the frame's help.
    static std::span<const int> HelpCommands();

    CStatusBar& StatusBar() { return m_wndStatusBar; }
    CToolBar& ToolBar() { return m_wndToolBar; }
    COleResizeBar& ResizeBar() { return m_wndResizeBar; }
    COleDropTarget& DropTarget() { return m_dropTarget; }
    CColorSwatch* Swatch() const;
    CRectaViewWidget* ViewWidget() const;

    // A command of the bars: help in the frame, the rest as the menus run it.
    void OnCommand(int id);
    // Shows the current colour of the drawing edited in place.
    void UpdateColorSwatch();

protected:
    int OnCreate() override;
    bool OnCreateControlBars(QWidget* frameWnd, QWidget* docWnd) override;
    // The application forgets the frame and its panes; the bars leave the container's frame.
    void OnDestroy() override;

private:
    void ShowPane(int pane);

    CStatusBar m_wndStatusBar;
    CToolBar m_wndToolBar;
    COleResizeBar m_wndResizeBar;
    COleDropTarget m_dropTarget;
};

// Makes the in-place frame of doc (a drawing) inside parent, its plan view in
// it, the bars in parent's main frame; null when it cannot be made.
COleIPFrameWnd* MakeInPlaceFrame(COleServerDoc& doc, QWidget* parent);
