// The plan view's command state: the command code says which command runs and
// which of its steps waits for the next click; the drawing mode says what a
// click draws, or that it picks objects.
#pragma once

enum CommandCode : int {
    CMD_NONE = 0,  // the drawing mode alone decides

    // Commands that pick objects (1 to 149): a selection, or the one object a
    // step needs (a boundary, the polyline to add to, the mirror line, the wall
    // line a window goes in, the door or window to copy).
    CMD_ERASE = 1,
    CMD_MOVE = 2,
    CMD_COPY = 3,
    CMD_FILLET = 4,
    CMD_EXTEND_SINGLE = 5,
    CMD_CUT_EDGES = 6,
    CMD_ROTATE = 7,
    CMD_MIRROR = 8,
    CMD_ROTATE_COPY = 9,
    CMD_MIRROR_COPY = 10,
    CMD_BLOCK_DEFINE = 11,
    CMD_STRETCH = 12,
    CMD_OFFSET = 13,
    CMD_FILLET_RADIUS = 14,
    CMD_EXTEND_ALL = 15,
    CMD_EXPLODE = 16,
    CMD_PLINE_CONVERT = 17,
    CMD_PLINE_ADD = 18,
    CMD_PLINE_ADD_OBJECTS = 19,
    CMD_CUT_OBJECTS = 20,
    CMD_MIRROR_LINE = 21,
    CMD_MIRROR_COPY_LINE = 22,
    CMD_CIRCLE_TAN_TAN_RADIUS = 23,
    CMD_CHANGE_LAYER = 25,
    CMD_CHANGE_COLOR = 26,
    CMD_CHANGE_TEXT_HEIGHT = 27,
    CMD_CHANGE_TEXT_FONT = 28,
    CMD_CHANGE_TEXT = 29,
    CMD_LIST = 30,
    CMD_AREA_PLINE = 31,
    CMD_UNIFY = 32,
    CMD_MOVE_DIM_TEXTS = 33,
    CMD_PLINE_CLOSE = 34,
    CMD_CHANGE_LINE_TYPE = 35,
    CMD_DIM_RADIAL = 36,
    CMD_CHANGE_LINE_WIDTH = 37,
    CMD_HATCH_PLINE = 40,
    CMD_HATCH_ISLANDS = 42,
    CMD_REGION = 43,
    CMD_WALL_JOINT_X = 46,
    CMD_WALL_JOINT_T = 47,
    CMD_WALL_JOINT_T_LEG = 48,
    CMD_WALL_JOINT_L = 49,
    CMD_WALL_OFFSET = 50,
    CMD_ERASE_DOORS = 51,
    CMD_ERASE_WINDOWS = 52,
    CMD_COPY_DOOR = 73,
    CMD_WINDOW_IN_WALL = 75,
    CMD_COPY_WINDOW = 76,
    CMD_COPY_TO_CLIPBOARD = 80,
    CMD_PILLAR = 81,
    CMD_ENCLOSURE = 82,
    CMD_SELECTION_ELEVATION = 101,
    CMD_SELECTION_THICKNESS = 102,
    CMD_OBJECT_ELEVATION = 103,
    CMD_DOOR_HEIGHTS = 104,
    CMD_WINDOW_HEIGHTS = 105,
    CMD_REVOLUTION_AXIS = 111,
    CMD_REVOLUTION_PLINE = 112,
    CMD_TABULATED_PLINE = 114,
    CMD_SHOW_CAMERAS = 120,

    // Commands and steps that take points (150 and up). The door commands take
    // a reference point on the outer wall line first, the window commands one
    // on the inner wall line.
    CMD_MOVE_BASE = 150,
    CMD_INSERT_BLOCK = 151,
    CMD_STRETCH_BASE = 152,
    CMD_COPY_BASE = 153,
    CMD_ROTATE_CENTRE = 154,
    CMD_BLOCK_BASE = 155,
    CMD_OFFSET_SIDE = 156,
    CMD_IDENTIFY = 157,
    CMD_DISTANCE = 158,
    CMD_ROTATE_COPY_CENTRE = 159,
    CMD_AREA_POINTS = 160,
    CMD_HATCH_POINTS = 164,
    CMD_PREVIEW_FIRST = 166,
    CMD_PRINT_FIRST = 167,
    CMD_BITMAP = 168,
    CMD_HATCH_BITMAP = 169,
    CMD_MOVE_DIM_TEXTS_BASE = 170,
    CMD_HATCH_SOLID = 171,
    CMD_DOOR = 172,
    CMD_COPY_DOOR_REF = 173,
    CMD_WINDOW = 175,
    CMD_COPY_WINDOW_REF = 176,
    CMD_AUTO_DIMS = 177,
    CMD_AUTO_DIMS_LINE = 178,
    CMD_WALL = 180,
    CMD_STAIR_SPIRAL = 198,
    CMD_STAIR_FLIGHTS = 199,
    CMD_METAFILE_COPY = 201,
    CMD_PASTE = 203,
    CMD_DEFAULT_ELEVATION = 210,
    CMD_DEFAULT_THICKNESS = 211,
    CMD_CAMERA = 230,
    CMD_LIGHT = 232,
    CMD_3DFACE = 235,
    CMD_SECTION = 240,
    CMD_PLANE_VERTICAL = 242,
    CMD_PLANE_3_POINTS = 243,

    // Steps that take a point following one already taken (270 and up).
    CMD_MOVE_TARGET = 271,
    CMD_COPY_TARGET = 272,
    CMD_STRETCH_TARGET = 273,
    CMD_MOVE_DIM_TEXTS_TARGET = 274,
    CMD_PREVIEW_SECOND = 276,
    CMD_PRINT_SECOND = 277,
    CMD_DISTANCE_SECOND = 278,
    CMD_WALL_JOINT_L_INNER = 281,
    CMD_DOOR_EXT_POINT = 282,
    CMD_DOOR_INT_POINT = 283,
    CMD_WINDOW_INT_POINT = 285,
    CMD_WINDOW_EXT_POINT = 286,
    CMD_COPY_DOOR_EXT_POINT = 287,
    CMD_COPY_DOOR_INT_POINT = 288,
    CMD_COPY_WINDOW_INT_POINT = 289,
    CMD_COPY_WINDOW_EXT_POINT = 290,
    CMD_PILLAR_SIDE = 291,
    CMD_AUTO_DIMS_SECOND = 292,
    CMD_WALL_END = 293,
    CMD_WALL_SIDE = 294,
    CMD_WALL_SKIP_POINT = 295,
    CMD_STAIR_SPIRAL_START = 298,
    CMD_STAIR_LENGTH = 299,
    CMD_STAIR_WIDTH = 300,
    CMD_METAFILE_COPY_SECOND = 301,
    CMD_CAMERA_TARGET = 330,
    CMD_FOCAL_PLANE = 331,
    CMD_LIGHT_TARGET = 332,
    CMD_3DFACE_2 = 335,
    CMD_3DFACE_3 = 336,
    CMD_3DFACE_4 = 337,
    CMD_SECTION_SECOND = 340,
    CMD_SECTION_VISIBLE_TO = 341,
    CMD_PLANE_VERTICAL_EDGE_X = 344,
    CMD_PLANE_VERTICAL_FROM = 345,
    CMD_PLANE_VERTICAL_TO = 346,
    CMD_PLANE_3_POINTS_EDGE_X = 347,
    CMD_PLANE_3_POINTS_EDGE_Y = 348,
};

inline constexpr int kFirstPointCode = 150;
inline constexpr int kFirstFollowingPointCode = 270;

// Selection and editing commands: the view shows the pick cursor.
constexpr bool PicksObjects(CommandCode code)
{
    return code > CMD_NONE && code < kFirstPointCode;
}

// Point commands and steps: typed points are accepted.
constexpr bool TakesPoints(CommandCode code)
{
    return code >= kFirstPointCode;
}

// Steps whose point follows one already taken: ortho and relative typed
// points count from the band start.
constexpr bool TakesFollowingPoint(CommandCode code)
{
    return code >= kFirstFollowingPointCode;
}

// Drawing modes; 100 and above make a left click a pick.
enum DrawingMode : int {
    MODE_NONE = 0,
    MODE_LINE = 1,
    MODE_CIRCLE = 2,
    MODE_POINT = 3,
    MODE_CIRCLE3 = 4,
    MODE_CIRCLE3_2 = 41,
    MODE_CIRCLE3_3 = 42,
    MODE_ARC3 = 6,
    MODE_ARC3_2 = 61,
    MODE_ARC3_3 = 62,
    MODE_ARC_CSE = 7,
    MODE_ARC_CSE_2 = 71,
    MODE_ARC_CSE_3 = 72,
    MODE_TEXT = 9,
    MODE_PLINE = 10,
    MODE_DIM_LINEAR = 11,
    MODE_DIM_LINEAR_2 = 12,
    MODE_DIM_LINEAR_3 = 13,
    MODE_DIM_RADIAL = 14,
    MODE_PICK = 100,
    MODE_PICK_WINDOW = 101,
};
