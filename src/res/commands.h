// Command ids of the menus, tool bars and palettes, and what the plan view's
// starters set for each: command code, drawing mode, text alignment, the first
// prompt and the prompt of a repetition.
#pragma once

#include "res/commandcodes.h"

#include <span>

// Ids the code names; the plain starters are known by their rows only.
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
    ID_DEFAULT_COLOR = 10119,
    ID_PASTE = 4006,
    ID_UPDATE_DIMENSIONS = 10221,
    ID_SHOW_CAMERAS = 4022,
    ID_CAMERA_POSITION = 10360,
    ID_TARGET_POSITION = 10361,
    ID_FOCAL_PLANE = 10362,
    ID_LIGHT = 10371,
    ID_PLANE_VERTICAL = 10414,
    ID_PLANE_3_POINTS = 10415,
    ID_WORLD_SYSTEM = 10417,
    ID_SOLID_WALLS = 10424,
    ID_DEFAULT_ELEVATION = 10354,
    ID_DEFAULT_THICKNESS = 10355,
    ID_WALLS = 10257,
    ID_DOOR_ONE_LEAF = 10263,
    ID_DOOR_TWO_LEAVES = 10264,
    ID_DOOR_UNEQUAL_LEAVES = 10265,
    ID_WALL_WINDOW = 10267,
    ID_BLOCK_WRITE = 10082,
    ID_BLOCK_READ = 10083,
    ID_DXF_READ = 10170,
    ID_DXF_WRITE = 10171,
    ID_PURGE_BLOCKS = 10223,
    ID_PURGE_LAYERS = 10224,
    ID_STAIR_ONE_FLIGHT = 10280,
    ID_STAIR_TWO_FLIGHTS = 10281,
    ID_STAIR_SPIRAL = 10282,
    ID_SURFACE_REVOLUTION = 10400,
    ID_SURFACE_TABULATED = 10401,
    // Embedded objects.
    ID_OLE_INSERT_NEW = 57856,
    ID_CANCEL_EDIT_CNTR = 32768,
    ID_EDIT_CLEAR = 57632,
    ID_EDIT_COPY = 57634,
    ID_EDIT_PASTE = 57637,
};

// Message 102: an object could not be made.
inline constexpr char kCreateObjectFailed[] =
    "Fallo al crear el objeto. Asegurese de que el objeto esta en el registro del sistema.";

// Prompt shown by selection starters.
inline constexpr char kSelectPrompt[] = "Select Objects:";

// What a starter sets and shows. Prompts are shown padded to the prompt line's
// width; an empty one shows nothing.
struct StarterInfo {
    int id;
    const char* menuText;  // empty for ids that only tool bars and palettes send
    CommandCode code;
    DrawingMode mode;
    int textAlign;             // 0, or 1 left, 2 right, 3 centred for the text starters
    const char* prompt;        // the first prompt
    const char* repeatPrompt;  // when the right button starts the command again
    bool ownSetUp = false;     // the view runs a dialog or set-up of its own around the row
};

// Every starter's row.
std::span<const StarterInfo> Starters();
// The first row of id, or null.
const StarterInfo* FindStarter(int id);
// The row of id that sets code, or null.
const StarterInfo* FindStarter(int id, CommandCode code);
// The row that started this command state, or null. Text starters differ by
// alignment only; the first row of the state serves any other alignment.
const StarterInfo* FindRepeat(CommandCode code, int mode, int textAlign);
