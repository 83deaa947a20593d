// The main frame's menus and tool bars as data: texts and command ids.
#pragma once

#include <span>
#include <vector>

// Commands that the frame itself handles.
enum FrameCommandId : int {
    ID_APP_ABOUT = 10010,
    ID_WINDOW_NEW = 57648,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE = 57651,
    ID_VIEW_AERIAL = 59200,
    ID_WINDOW_3D = 59201,
};

struct MenuItem {
    const char* text = nullptr;  // null: separator
    int id = 0;                  // 0: a submenu of items
    std::vector<MenuItem> items;
    bool checkable = false;
};

// The menu bar, one entry per top-level menu.
const std::vector<MenuItem>& MainMenu();

struct ToolButton {
    int id;  // 0: gap
    const char* text;
    const char* tip;
};

// Buttons of the standard tool bar (the colour swatch follows them).
std::span<const ToolButton> StandardToolButtons();
// Drafting aids, zoom and layers.
std::span<const ToolButton> AidsToolButtons();
// The architectural tools palette, whose commands have no menu entry.
std::span<const ToolButton> ArchToolButtons();
// The 3D tools palette.
std::span<const ToolButton> ThreeDToolButtons();

// The tool bar button of the standard or aids bar (or the about button) with
// this id, or null.
const ToolButton* FindToolButton(int id);

// Why id's handler is not in this program, or null when it is: such a
// command is shown disabled with the reason as its tip.
const char* UnavailableReason(int id);
// Whether id can only run with a drawing open.
bool NeedsDrawing(int id);
