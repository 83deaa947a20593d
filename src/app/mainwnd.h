// The main frame: MDI area, menus, tool bars, status bar, keyboard routing
// to the active plan view, file commands and printing.
#pragma once

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/filequestion.h"
#include "platform/controlbars.h"
#include "platform/types.h"
#include "view3d/view3d.h"

#include <optional>

class CRectaDoc;
class CRectaView;
class Cwm_MDICHILDWnd;
class Cwm_V2Wnd;
class Cwm_V3DWnd;
class CPointd;
class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
struct MenuItem;

// Held while a drawing view paints: the panes its drawing writes meanwhile
// are repainted with the frame's next paint instead of at once, since a paint
// begun inside another ends the frame's painting under the first one's painter.
class CViewPaintScope {
public:
    CViewPaintScope() { ++s_depth; }
    ~CViewPaintScope() { --s_depth; }
    CViewPaintScope(const CViewPaintScope&) = delete;
    CViewPaintScope& operator=(const CViewPaintScope&) = delete;
    static bool Active() { return s_depth > 0; }

private:
    static inline int s_depth = 0;
};

// Shows a colour (COLORREF) as a filled box.
class CColorSwatch : public QWidget {
    Q_OBJECT
public:
    explicit CColorSwatch(QWidget* parent = nullptr);
    void SetColor(COLORREF color);
    COLORREF Color() const { return m_color; }
    QSize sizeHint() const override { return {28, 20}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    COLORREF m_color = 0;
};

// The character a key press types into a plan view (3 for Ctrl+C, 13 Enter,
// 8 Backspace, any printable character of the key's text, or without text
// digits and . , - @ < y Y), or -1 for keys the view does not take.
int TypedCharFromKey(int key, Qt::KeyboardModifiers modifiers, const QString& text = {});

class Cwm_HelpWndWnd;
class CRectaViewWidget;

// The panes of a drawing frame's status bar: prompt, ortho, readouts and
// layer, then the caps-lock, num-lock and scroll-lock indicators.
std::span<const UINT> StatusIndicators();
// Makes bar on parent (a main window: its status line) with those panes,
// each wide enough for its texts; false when it cannot be made.
bool CreateStatusPanes(CStatusBar& bar, QWidget* parent, int id);

// When the frame shows a quick tip: hides the top-level window titled
// "HelpWnd" and clears the frame's tip fields. The plan view calls it when it
// takes the mouse or is activated.
void HideQuickTip();

class Cwm_MainWnd : public QMainWindow {
    Q_OBJECT
public:
    Cwm_MainWnd();
    ~Cwm_MainWnd() override;

    // Runs a menu, tool bar or palette command.
    void OnCommand(int id);

    // The active drawing frame, its plan view and document; null without one.
    Cwm_MDICHILDWnd* ActiveChild() const;
    CRectaView* ActiveView() const;
    CRectaDoc* ActiveDocument() const;
    // The plan view and document that drawing commands go to: the drawing
    // edited in place while there is one, else the active frame's.
    CRectaView* CurrentView() const;
    CRectaDoc* CurrentDocument() const;
    CRectaViewWidget* CurrentViewWidget() const;
    // The plan view whose embedded object follows the mouse, or null. The
    // drag owns the input meanwhile: Escape puts the object back; other keys,
    // commands and close requests are refused until the button is up.
    CRectaView* DraggingView() const;
    std::vector<Cwm_MDICHILDWnd*> Children() const;
    // Open documents, each once, in frame order.
    std::vector<CRectaDoc*> Documents() const;
    Cwm_V2Wnd* AerialFrame(const CRectaDoc* doc) const;

    // A new untitled drawing ("Drawing<n>") in a new frame.
    CRectaDoc* NewDocument();
    // Opens path in a new frame, or activates the frame already showing it; null on failure.
    CRectaDoc* OpenDocumentFile(const std::string& path);
    // Another frame on doc.
    Cwm_MDICHILDWnd* CreateChildFrame(CRectaDoc* doc);
    Cwm_V2Wnd* OpenAerialView();
    // Closes the aerial, 3D and section windows of doc at once.
    void CloseSideWindows(const CRectaDoc* doc);
    // The 3D-view and section windows of doc (every drawing's when null).
    std::vector<Cwm_V3DWnd*> Frames3D(const CRectaDoc* doc) const;
    // A 3D-view window on the active drawing, from its current camera.
    Cwm_V3DWnd* Open3DView();
    // A section window on the active drawing (see SectionCamera); null, with
    // a message on the prompt line, when the points make no section.
    Cwm_V3DWnd* OpenSectionView(const CPointd& p1, const CPointd& p2, const CPointd& visible);

    // Print or print preview dialog for the active plan view; the page shows
    // the view's print window (the view calls this once both corners are picked).
    void PrintActiveView(bool preview);

    // Shows the active drawing's current colour in the tool bar swatch.
    void UpdateColorSwatch();
    CColorSwatch* ColorSwatch() const { return m_swatch; }
    QLabel* PaneLabel(int pane) const { return m_statusBar.Pane(pane); }
    QAction* Action(int id) const;

    // File name questions of the frame and its views; replaceable (tests).
    // Empty result: cancelled.
    std::function<std::string(const FileQuestion& question)> m_askOpenName;
    std::function<std::string(const FileQuestion& question)> m_askSaveName;
    // The question asked by the one of the two that answers it.
    std::string AskFileName(const FileQuestion& question) const;

    // Display options and quick-tip state read by the views and palettes.
    int m_rasterHatch = 1;      // 1: hatches fill their area; 0: a marker at the seed
    int m_showBitmaps = 1;      // 1: bitmaps show their picture; 0: frame and file name
    int m_previewAtInsert = 0;  // 1: block insertion uses the preview browser
    int m_tipShown[2] = {0, 0};  // shown flag and the button's command id
    int m_tipRect[4] = {0, 0, 0, 0};
    // The quick tip of a palette button, at the screen point.
    void ShowQuickTip(const QString& text, int id, QPoint at);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenu(QMenu* menu, const std::vector<MenuItem>& items);
    QAction* MakeAction(const QString& text, int id);
    void BuildToolBars();
    void BuildStatusBar();
    void ShowPane(int pane);
    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnChildClosing(Cwm_MDICHILDWnd* child);
    // A command for the plan view that drawing commands go to.
    void RunDrawingCommand(int id);
    // Shows a new 3D-view window on the active drawing, from section's camera when given.
    Cwm_V3DWnd* Show3DFrame(const std::optional<C3DCamera>& section);
    void UpdateActions();
    void UpdateTitles();
    // "Zepa - " and the active drawing frame's title, or "Zepa".
    void UpdateFrameTitle();
    bool HandleKey(QObject* watched, QKeyEvent* event);

    void OnFileOpen();
    bool OnFileSave(CRectaDoc* doc);
    bool OnFileSaveAs(CRectaDoc* doc);
    void OnFileClose();

    QMdiArea* m_mdi;
    std::unique_ptr<Cwm_HelpWndWnd> m_helpWnd;
    CColorSwatch* m_swatch = nullptr;
    CStatusBar m_statusBar;
    std::array<bool, 3> m_locks{};
    std::multimap<int, QAction*> m_actions;
    QPointer<Cwm_MDICHILDWnd> m_activated;  // frame whose view was told it is active
};

// Where the index-th drawing frame goes in an MDI area of this size: inside
// it, three quarters of its size where that is usable, cascaded.
QRect ChildPlacement(QSize area, int index);

// The program's main frame, or null before it exists.
Cwm_MainWnd* MainFrame();
