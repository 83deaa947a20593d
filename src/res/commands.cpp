#include "res/commands.h"

#include <algorithm>
#include <iterator>

namespace {

// The plan view's starters, one row a command id:
// {id, menu text, command code, drawing mode, text alignment, first prompt, repeat prompt[, own set-up]}
constexpr StarterInfo kStarters[] = {
    {10009, "&Line", CMD_NONE, MODE_LINE, 0, "From point:", "From point:"},
    {10074, "&Polyline", CMD_NONE, MODE_PLINE, 0, "From point:", "From point:"},
    {10063, "Center,Radius", CMD_NONE, MODE_CIRCLE, 0, "Circle Center:", "Circle Center:"},
    {10066, "3 Points", CMD_NONE, MODE_CIRCLE3, 0, "First Point:", "First point:"},
    {10067, "Tang,Tang,Rad", CMD_CIRCLE_TAN_TAN_RADIUS, MODE_PICK, 0, "First Tangent:", "First Tangent:"},
    {10068, "3 Points", CMD_NONE, MODE_ARC3, 0, "First point:", "First point:"},
    {10069, "Cent,Start,Ang", CMD_NONE, MODE_ARC_CSE, 0, "Center:", "Center:"},
    {10065, "&Point", CMD_NONE, MODE_POINT, 0, "Pick point:", "Pick point:"},
    {10076, "Left Aligned", CMD_NONE, MODE_TEXT, 1, "Pick left point:", "Pick left point:"},
    {10077, "Right Aligned", CMD_NONE, MODE_TEXT, 2, "Pick right point:", "Pick right point:"},
    {10078, "Centered", CMD_NONE, MODE_TEXT, 3, "Pick center point:", "Pick center point:"},
    {10213, "Linear", CMD_NONE, MODE_DIM_LINEAR, 0, "From point:", "From point:"},
    {10228, "Radial", CMD_DIM_RADIAL, MODE_PICK, 0, "Pick Circ/Arc:", "Pick Circle/Arc:"},
    {10253, "By Points", CMD_HATCH_POINTS, MODE_NONE, 0, "Pick polygonal points:", ""},
    {10255, "By Polyline", CMD_HATCH_PLINE, MODE_PICK, 0, "Select ext. polyline:", ""},
    {10450, "Erase", CMD_ERASE, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10451, "&Move", CMD_MOVE, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10452, "Copy", CMD_COPY, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10107, "Offset", CMD_OFFSET, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10101, "Linear", CMD_FILLET, MODE_PICK, 0, "Select line 1:", "Select line 1:"},
    {10102, "Radius", CMD_FILLET_RADIUS, MODE_PICK, 0, "Select line 1:", "Select line 1:"},
    {10165, "&Unify", CMD_UNIFY, MODE_PICK, 0, "Select line 1:", "Select line 1:"},
    {10040, "Single", CMD_EXTEND_SINGLE, MODE_PICK, 0, "Select Boundary object:", "Select Boundary object:"},
    {10079, "All", CMD_EXTEND_ALL, MODE_PICK, 0, "Select Boundary object:", "Select Boundary object:"},
    {10108, "Stretch", CMD_STRETCH, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10057, "Cut", CMD_CUT_EDGES, MODE_PICK, 0, "Select cutting edges:", "Select cutting edges:"},
    {10058, "WithOut Copy", CMD_ROTATE, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10061, "With Copy", CMD_ROTATE_COPY, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10059, "WithOut Copy", CMD_MIRROR, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10062, "With Copy", CMD_MIRROR_COPY, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10081, "Define", CMD_BLOCK_DEFINE, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10084, "Insert", CMD_INSERT_BLOCK, MODE_NONE, 0, "Insert point", "Insert point"},
    {10114, "Explode", CMD_EXPLODE, MODE_PICK, 0, "Select blocks,polil.or dims", "Select blocks,polil. or dims"},
    {10115, "Convert", CMD_PLINE_CONVERT, MODE_PICK, 0, "Select Line or Arc", "Select Line or Arc"},
    {10116, "Add", CMD_PLINE_ADD, MODE_PICK, 0, "Select Polyline", "Select Polyline"},
    {10166, "Close", CMD_PLINE_CLOSE, MODE_PICK, 0, "Select Polyline", "Select Poliline"},
    {10120, "Layer", CMD_CHANGE_LAYER, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10121, "Color", CMD_CHANGE_COLOR, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10168, "Line Type", CMD_CHANGE_LINE_TYPE, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10352, "Line Thick", CMD_CHANGE_LINE_WIDTH, MODE_PICK, 0, kSelectPrompt, ""},
    {10123, "Height", CMD_CHANGE_TEXT_HEIGHT, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10124, "Font", CMD_CHANGE_TEXT_FONT, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10125, "Text", CMD_CHANGE_TEXT, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10330, "Move Texts", CMD_MOVE_DIM_TEXTS, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10131, "List", CMD_LIST, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10132, "Identify", CMD_IDENTIFY, MODE_NONE, 0, "Pick Point:", "Pick Point:"},
    {10154, "Distance", CMD_DISTANCE, MODE_NONE, 0, "First Point:", "First Point:"},
    {10162, "Points", CMD_AREA_POINTS, MODE_NONE, 0, "Pick points:", "Pick points:"},
    {10164, "Polyline", CMD_AREA_PLINE, MODE_PICK, 0, "Pick polyline:", "Pick polyline:"},
    {10333, "Solid Color", CMD_HATCH_SOLID, MODE_NONE, 0, "Pick internal point:", "Pick internal point:"},
    {10334, "Bitmap", CMD_HATCH_BITMAP, MODE_NONE, 0, "Pick internal point:", "Pick internal point:"},
    {10430, "Region", CMD_REGION, MODE_PICK, 0, "Select polil. or block:", "Select polil. or block:"},
    {10340, "Bitmap", CMD_BITMAP, MODE_NONE, 0, "Pick insert point:", "Pick internal point:"},
    {10348, "WMFCopy", CMD_METAFILE_COPY, MODE_NONE, 0, "From point:", ""},
    {10349, "ObjCopy", CMD_COPY_TO_CLIPBOARD, MODE_PICK, 0, kSelectPrompt, ""},
    {4006, "ObjPaste", CMD_PASTE, MODE_NONE, 0, "", "", true},
    {4002, "3DFace", CMD_3DFACE, MODE_NONE, 0, "Point 1:", "Point 1:"},
    {10385, "Sections", CMD_SECTION, MODE_NONE, 0, "Origin Point for Section:", "Origin Point for Section:"},
    {10356, "Elevation", CMD_SELECTION_ELEVATION, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10357, "Thick (two sides)", CMD_SELECTION_THICKNESS, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10379, "Elev. / Thick Object", CMD_OBJECT_ELEVATION, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10256, "", CMD_WALL_OFFSET, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10259, "", CMD_WALL_JOINT_X, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10260, "", CMD_WALL_JOINT_T, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10261, "", CMD_WALL_JOINT_L, MODE_PICK, 0, kSelectPrompt, kSelectPrompt},
    {10294, "", CMD_ERASE_DOORS, MODE_PICK, 0, "Select doors to erase:", "Select doors to erase:"},
    {10295, "", CMD_COPY_DOOR, MODE_PICK, 0, "Equal to door ...:", "Equal to door ...:"},
    {10297, "", CMD_ERASE_WINDOWS, MODE_PICK, 0, "Select windows to erase:", "Select windows to erase:"},
    {10299, "", CMD_COPY_WINDOW, MODE_PICK, 0, "Equal to window ...:", "Equal to window ...:"},
    {10272, "", CMD_PILLAR, MODE_PICK, 0, "Ref.Line x:", "Ref.Line x:"},
    {10271, "", CMD_AUTO_DIMS, MODE_NONE, 0, "From point:", "From point:"},
    {10269, "", CMD_ENCLOSURE, MODE_PICK, 0, "Select enclosure wall:", "Select enclosure wall:"},
    {10393, "", CMD_DOOR_HEIGHTS, MODE_PICK, 0, "Select Doors:", "Select Doors:"},
    {10392, "", CMD_WINDOW_HEIGHTS, MODE_PICK, 0, "Select Windows:", "Select Windows:"},
    {10119, "Default Color", CMD_NONE, MODE_PICK, 0, "", "", true},
    {4022, "Show", CMD_SHOW_CAMERAS, MODE_NONE, 0, "", "", true},
    {10360, "Camera Position", CMD_CAMERA, MODE_NONE, 0, "Camera Position:", "Camera Position:", true},
    {10361, "Target Position", CMD_CAMERA_TARGET, MODE_NONE, 0, "Target Point Position:", "Position of Target Point:", true},
    {10362, "Phocal Plane Distance", CMD_FOCAL_PLANE, MODE_NONE, 0, "Phocal Plane Position:", "Position of Phocal Plane:", true},
    {10371, "Light", CMD_LIGHT, MODE_NONE, 0, "Light from point:", "Light from point:", true},
    {10414, "Secc.-Plane (Vertical)", CMD_PLANE_VERTICAL, MODE_NONE, 0, "Origin Point for Plane:", "Origin Point for Plane:", true},
    {10415, "Plane -3 Points-", CMD_PLANE_3_POINTS, MODE_NONE, 0, "Origin Point for Plane:", "Origin Point for Plane:", true},
    {10354, "Elevation", CMD_DEFAULT_ELEVATION, MODE_NONE, 0, "", "", true},
    {10355, "Thickness", CMD_DEFAULT_THICKNESS, MODE_NONE, 0, "", "", true},
    {10263, "", CMD_DOOR, MODE_NONE, 0, "Ref.Point Ext.Wall:", "Ref. Point Ext. Wall:", true},
    {10264, "", CMD_DOOR, MODE_NONE, 0, "Ref.Point Ext.Wall:", "Ref. Point Ext. Wall:", true},
    {10265, "", CMD_DOOR, MODE_NONE, 0, "Ref.Point Ext. Wall:", "Ref. Point Ext. Wall:", true},
    {10267, "", CMD_WINDOW_IN_WALL, MODE_PICK, 0, "Internal Wall:", "Int. Wall:", true},
    {10267, "", CMD_WINDOW, MODE_NONE, 0, "Ref.Point Int.Wall:", "Ref.Point Int.Wall:", true},
    {10257, "", CMD_WALL, MODE_NONE, 0, "From point:", "From point:", true},
    {ID_STAIR_ONE_FLIGHT, "", CMD_STAIR_FLIGHTS, MODE_NONE, 0, "Stair Start Point:", "", true},
    {ID_STAIR_TWO_FLIGHTS, "", CMD_STAIR_FLIGHTS, MODE_NONE, 0, "Stair Start Point:", "", true},
    {ID_STAIR_SPIRAL, "", CMD_STAIR_SPIRAL, MODE_NONE, 0, "Center Point:", ""},
    {ID_SURFACE_REVOLUTION, "Revolution", CMD_REVOLUTION_AXIS, MODE_PICK, 0, "Select Axis Line:", ""},
    {ID_SURFACE_TABULATED, "Tabulated", CMD_TABULATED_PLINE, MODE_PICK, 0, "Select Polyline:", ""},
};

template <class Match>
const StarterInfo* FirstRow(Match match)
{
    const auto it = std::ranges::find_if(kStarters, match);
    return it == std::end(kStarters) ? nullptr : &*it;
}

}  // namespace

std::span<const StarterInfo> Starters()
{
    return kStarters;
}

const StarterInfo* FindStarter(int id)
{
    return FirstRow([&](const StarterInfo& s) { return s.id == id; });
}

const StarterInfo* FindStarter(int id, CommandCode code)
{
    return FirstRow([&](const StarterInfo& s) { return s.id == id && s.code == code; });
}

const StarterInfo* FindRepeat(CommandCode code, int mode, int textAlign)
{
    auto ofState = [&](const StarterInfo& row) { return row.code == code && row.mode == mode; };
    auto aligned = [&](const StarterInfo& row) { return ofState(row) && row.textAlign == textAlign; };
    if (const StarterInfo* s = FirstRow(aligned))
        return s;
    return FirstRow(ofState);
}
