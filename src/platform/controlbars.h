// Status bars and tool bars of a frame, each a window that its wrapper
// creates on a parent and destroys with itself. On a main window a status bar
// takes the status line over (the one there before hides until it goes) and
// a tool bar docks at its top.
#pragma once

#include "platform/types.h"

#include <QPointer>
#include <QToolBar>

#include <functional>
#include <span>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QWidget;

using UINT = unsigned;

// Status-bar indicators, named by the key whose state they show.
inline constexpr UINT ID_INDICATOR_CAPS = 0xE701;
inline constexpr UINT ID_INDICATOR_NUM = 0xE702;
inline constexpr UINT ID_INDICATOR_SCRL = 0xE703;

// A window's control id; 0 when it has none.
int GetDlgCtrlID(const QWidget* window);
void SetDlgCtrlID(QWidget* window, int id);
// The first window below root (itself excluded) with this control id, or null.
QWidget* FindDescendantById(QWidget* root, int id);

class CStatusBar {
public:
    CStatusBar() = default;
    CStatusBar(const CStatusBar&) = delete;
    CStatusBar& operator=(const CStatusBar&) = delete;
    ~CStatusBar();

    // False when there is no parent or the bar exists already.
    bool Create(QWidget* parent, bool visible, int id);
    // The bar's window goes now, its panes with it; bars it hid show again.
    void DestroyWindow();
    // One pane per id: 0 a text pane (the first one stretches), an indicator
    // id a pane showing the key's name. False before Create or for no ids.
    bool SetIndicators(std::span<const UINT> ids);
    int GetCount() const { return int(m_ids.size()); }
    UINT GetItemID(int index) const { return m_ids.at(std::size_t(index)); }
    // Replaces the pane's text and repaints it at once (or, not now, with the
    // next paint); an indicator keeps its name for an empty text. Out-of-range
    // panes are ignored.
    void SetPaneText(int index, const std::string& text, bool now = true);
    std::string GetPaneText(int index) const;
    // Keeps a pane at least as wide as sample.
    void SetPaneMinWidth(int index, const char* sample);
    QLabel* Pane(int index) const;
    QWidget* GetSafeHwnd() const { return m_bar; }

private:
    QPointer<QWidget> m_bar;
    std::vector<UINT> m_ids;
    std::vector<QLabel*> m_panes;
    // Bars this one hid on a main window's status line; shown again when it goes.
    std::vector<QPointer<QWidget>> m_hidden;
};

class CToolBar {
public:
    CToolBar() = default;
    CToolBar(const CToolBar&) = delete;
    CToolBar& operator=(const CToolBar&) = delete;
    ~CToolBar();

    bool Create(QWidget* parent, bool visible, int id);
    // The bar's window goes now, its buttons with it.
    void DestroyWindow();
    // One button per id, 0 a gap; each button's text is its id until
    // SetButtonText. False before Create or for no ids.
    bool SetButtons(std::span<const UINT> ids);
    int GetCount() const { return int(m_ids.size()); }
    // 0 for a gap.
    UINT GetItemID(int index) const { return m_ids.at(std::size_t(index)); }
    int CommandToIndex(UINT id) const;
    void SetButtonText(int index, const std::string& text, const std::string& tip);
    void EnableButton(int index, bool enable);
    bool IsButtonEnabled(int index) const;
    // Puts window in the place of the button at index.
    void ReplaceButton(int index, QWidget* window);
    QWidget* ButtonWindow(int index) const;
    QToolBar* GetSafeHwnd() const { return m_bar; }
    // Runs a button's command.
    std::function<void(int id)> m_onCommand;

private:
    QPointer<QToolBar> m_bar;
    std::vector<UINT> m_ids;
    std::vector<QAction*> m_actions;  // separators for gaps
};
