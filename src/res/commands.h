// Command ids of the menus, tool bars and palettes, and what the plan view's
// starters set for each: command code, drawing mode, text alignment, first prompt.
#pragma once

#include <span>

// Ids that are not plain starters.
enum CommandId : int {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_PREVIEW = 57608,
    ID_APP_EXIT = 57665,
    ID_SAVE_OWN_PATH = 10240,
    ID_ORTHO = 10026,
    ID_REDRAW = 10008,
    ID_UNDO = 10028,
    ID_REDO = 10029,
    ID_CANCEL_COMMAND = 10080,
    ID_ZOOM_WINDOW = 10045,
    ID_ZOOM_PREVIOUS = 10046,
    ID_ZOOM_EXTENTS = 10047,
    ID_ANGLE = 10130,
    ID_REFERENCE_POINT = 10222,
    ID_FIT_APPROX = 10160,
    ID_CANCEL_APPROX = 10161,
    ID_FILTERS = 4000,
    ID_Z_COORDINATE = 4001,
    ID_FIT_Z = 10368,
    ID_CANCEL_FIT_Z = 10369,
    ID_PREVIEW_AT_INSERT = 10342,
    ID_SNAP_MODES = 10042,
    ID_FIXED_DISTANCE = 10075,
};

// Prompt shown by selection starters.
inline constexpr char kSelectPrompt[] = "Select Objects:";

struct StarterInfo {
    int id;
    const char* menuText;  // empty for ids that only tool bars and palettes send
    int code;
    int mode;
    int textAlign;       // 0, or 1 left, 2 right, 3 centred for the text starters
    const char* prompt;  // null: "Select Objects:"; empty: no prompt
};

// Starters that only cancel, set their code and mode, begin and prompt.
std::span<const StarterInfo> PlainStarters();
// The starter for id, or null.
const StarterInfo* FindStarter(int id);
