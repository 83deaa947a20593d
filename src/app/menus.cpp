#include "app/menus.h"

#include "res/commands.h"

namespace {

MenuItem Sep()
{
    return {};
}

MenuItem Cmd(const char* text, int id)
{
    return {text, id, {}};
}

MenuItem Sub(const char* text, std::vector<MenuItem> items)
{
    return {text, 0, std::move(items)};
}

std::vector<MenuItem> BuildMainMenu()
{
    return {
        Sub("&File", {Cmd("&New", ID_FILE_NEW), Cmd("&Open...", ID_FILE_OPEN), Cmd("&Save", ID_FILE_SAVE),
                      Cmd("Save &As...", ID_FILE_SAVE_AS), Cmd("&Close", ID_FILE_CLOSE), Sep(),
                      Cmd("DXF Read", ID_DXF_READ), Cmd("DXF Write", ID_DXF_WRITE),
                      Sub("Purge", {Cmd("Blocks", ID_PURGE_BLOCKS), Cmd("Layers", ID_PURGE_LAYERS)}), Sep(),
                      Cmd("&Printing", ID_FILE_PRINT), Cmd("Printing &Preview", ID_FILE_PRINT_PREVIEW), Sep(),
                      Cmd("E&xit", ID_APP_EXIT)}),
        Sub("&Edit", {Cmd("Undo!", ID_UNDO), Cmd("Redo!", ID_REDO), Sep(), Cmd("&Redraw", ID_REDRAW),
                      Cmd("Cancel", ID_CANCEL_COMMAND), Sep(), Cmd("ObjCopy", 10349), Cmd("ObjPaste", 4006),
                      Cmd("WMFCopy", 10348), Sep(), Cmd("Insert &New Object...", ID_OLE_INSERT_NEW),
                      Cmd("Erase", ID_EDIT_CLEAR), Cmd("&Copy\tCtrl+C", ID_EDIT_COPY),
                      Cmd("&Paste\tCtrl+V", ID_EDIT_PASTE)}),
        Sub("&Draw", {Cmd("&Line", 10009), Cmd("&Polyline", 10074),
                      Sub("Circle", {Cmd("Center,Radius", 10063), Cmd("3 Points", 10066),
                                     Cmd("Tang,Tang,Rad", 10067)}),
                      Sub("Arc", {Cmd("3 Points", 10068), Cmd("Cent,Start,Ang", 10069)}), Cmd("&Point", 10065),
                      Sub("Text", {Cmd("Left Aligned", 10076), Cmd("Right Aligned", 10077),
                                   Cmd("Centered", 10078)}),
                      Sub("Dimension", {Cmd("Linear", 10213), Cmd("Radial", 10228), Sep(), Cmd("Update", 10221),
                                        Cmd("Move Texts", 10330)}),
                      Sub("Hatch", {Cmd("By Points", 10253), Cmd("By Polyline", 10255), Cmd("Solid Color", 10333),
                                    Cmd("Bitmap", 10334)}),
                      Sep(), Cmd("Region", 10430), Cmd("Bitmap", 10340)}),
        Sub("&Modify", {Cmd("Erase", 10450), Cmd("&Move", 10451), Cmd("Copy", 10452), Cmd("Offset", 10107),
                        Cmd("Stretch", 10108), Cmd("Cut", 10057),
                        Sub("Extend", {Cmd("Single", 10040), Cmd("All", 10079)}),
                        Sub("Fillet", {Cmd("Linear", 10101), Cmd("Radius", 10102)}), Cmd("&Unify", 10165),
                        Sub("Rotate", {Cmd("WithOut Copy", 10058), Cmd("With Copy", 10061)}),
                        Sub("Mirror", {Cmd("WithOut Copy", 10059), Cmd("With Copy", 10062)}),
                        Cmd("Explode", 10114),
                        Sub("Polyline", {Cmd("Convert", 10115), Cmd("Add", 10116), Cmd("Close", 10166)}), Sep(),
                        Sub("Change", {Cmd("Layer", 10120), Cmd("Color", 10121), Cmd("Line Type", 10168),
                                       Cmd("Line Thick", 10352), Cmd("Default Color", 10119)}),
                        Sub("Texts", {Cmd("Height", 10123), Cmd("Font", 10124), Cmd("Text", 10125)})}),
        Sub("&View", {Cmd("Zoom &Window", ID_ZOOM_WINDOW), Cmd("Zoom &Previous", ID_ZOOM_PREVIOUS),
                      Cmd("Zoom &Extents", ID_ZOOM_EXTENTS), Sep(), Cmd("&Ortho", ID_ORTHO), Sep(),
                      Cmd("&Aerial View", ID_VIEW_AERIAL)}),
        Sub("&Tools", {Cmd("Angle", ID_ANGLE), Cmd("Reference Point", ID_REFERENCE_POINT), Sep(),
                       Cmd("Fit Approx Mode", ID_FIT_APPROX), Cmd("Cancel Approx Mode", ID_CANCEL_APPROX), Sep(),
                       Cmd("Filters", ID_FILTERS), Sep(), Cmd("Z Coordinate", ID_Z_COORDINATE),
                       Cmd("Fit Z", ID_FIT_Z), Cmd("Cancel Fit Z", ID_CANCEL_FIT_Z)}),
        Sub("&Block", {Cmd("Define", 10081), Cmd("Insert", 10084), Cmd("Write", ID_BLOCK_WRITE), Cmd("Read", ID_BLOCK_READ), Sep(),
                       MenuItem{"Display Preview at Insert", ID_PREVIEW_AT_INSERT, {}, true}}),
        Sub("&Inquiry", {Cmd("List", 10131), Cmd("Identify", 10132), Cmd("Distance", 10154),
                         Sub("Area", {Cmd("Points", 10162), Cmd("Polyline", 10164)})}),
        Sub("&3D", {Cmd("3DFace", 4002), Sep(),
                    Sub("Defaults", {Cmd("Elevation", 10354), Cmd("Thickness", 10355)}),
                    Sub("Objects", {Cmd("Elevation", 10356), Cmd("Thick (two sides)", 10357),
                                    Cmd("Elev. / Thick Object", 10379)}),
                    Sep(),
                    Sub("Cameras", {Cmd("Show", 4022), Cmd("Camera Position", 10360), Cmd("Target Position", 10361),
                                    Cmd("Phocal Plane Distance", 10362)}),
                    Cmd("Light", 10371), Cmd("Sections", 10385), Sep(),
                    Sub("Surfaces", {Cmd("Revolution", ID_SURFACE_REVOLUTION), Cmd("Tabulated", ID_SURFACE_TABULATED)}),
                    Sep(),
                    Sub("Planes", {Cmd("Secc.-Plane (Vertical)", 10414), Cmd("Plane -3 Points-", 10415),
                                   Cmd("World System", 10417)})}),
        Sub("&Window", {Cmd("&New Window", ID_WINDOW_NEW), Cmd("&Cascade", ID_WINDOW_CASCADE),
                        Cmd("&Tile", ID_WINDOW_TILE), Sep(), Cmd("&3D View", ID_WINDOW_3D)}),
        Sub("&Help", {Cmd("&About Zepa...", ID_APP_ABOUT)}),
    };
}

constexpr ToolButton kStandard[] = {
    {ID_FILE_NEW, "New", "New drawing"},
    {ID_FILE_OPEN, "Open", "Open a drawing"},
    {ID_FILE_SAVE, "Save", "Save the drawing"},
    {0, nullptr, nullptr},
    {ID_FILE_PRINT, "Print", "Print a window of the drawing"},
    {0, nullptr, nullptr},
    {ID_UNDO, "Undo", "Undo"},
    {ID_REDO, "Redo", "Redo"},
    {ID_REDRAW, "Redraw", "Redraw"},
    {ID_CANCEL_COMMAND, "Cancel", "Cancel the current command"},
};

constexpr ToolButton kAids[] = {
    {ID_ORTHO, "Ortho", "Ortho on/off"},
    {4010, "Snap", "Snap"},
    {ID_SNAP_MODES, "Approx", "Approximation modes"},
    {ID_FIXED_DISTANCE, "Dist", "Distance to the following point"},
    {ID_ANGLE, "Angle", "Reference angle"},
    {ID_REFERENCE_POINT, "Ref", "Reference point"},
    {0, nullptr, nullptr},
    {ID_ZOOM_WINDOW, "Zoom W", "Zoom window"},
    {ID_ZOOM_PREVIOUS, "Zoom P", "Zoom previous"},
    {ID_ZOOM_EXTENTS, "Zoom E", "Zoom extents"},
    {0, nullptr, nullptr},
    {10034, "Layer", "Current layer"},
    {10036, "On/Off", "Layers on/off"},
    {4013, "L.Color", "Layer colour"},
    {4012, "New Layer", "New layer"},
};

constexpr ToolButton kArch[] = {
    {10257, "Wall", "Walls"},
    {10256, "Wall Offs.", "Wall offset"},
    {10259, "X Joint", "Clean a X wall intersect"},
    {10260, "T Joint", "Clean a T wall intersect"},
    {10261, "L Joint", "Clean a L wall intersect"},
    {0, nullptr, nullptr},
    {10263, "Door 1", "Door, one leaf"},
    {10264, "Door 2", "Door, two equal leaves"},
    {10265, "Door 2U", "Door, two unequal leaves"},
    {10295, "Door Copy", "Door equal to another"},
    {10294, "Door Erase", "Erase doors"},
    {0, nullptr, nullptr},
    {10267, "Window", "Window"},
    {10299, "Win. Copy", "Window equal to another"},
    {10297, "Win. Erase", "Erase windows"},
    {0, nullptr, nullptr},
    {10272, "Pillar", "Pillar"},
    {10271, "Auto Dim", "Automatic dimensions"},
    {10269, "Enclosure", "Enclosure area"},
    {0, nullptr, nullptr},
    {ID_STAIR_ONE_FLIGHT, "Stair 1", "Stair, one flight"},
    {ID_STAIR_TWO_FLIGHTS, "Stair 2", "Stair, two flights"},
    {ID_STAIR_SPIRAL, "Spiral", "Spiral stair"},
    {0, nullptr, nullptr},
    {10393, "Doors 3D", "3D heights of doors"},
    {10392, "Win. 3D", "3D heights of windows"},
    {10424, "Solids", "Walls into solids"},
};

constexpr ToolButton kThreeD[] = {
    {4002, "3DFace", "3D face"},
    {10385, "Section", "Sections"},
    {0, nullptr, nullptr},
    {10414, "V.Plane", "Secc.-Plane (Vertical)"},
    {10415, "3P Plane", "Plane -3 Points-"},
    {10417, "World", "World System"},
};

}  // namespace

const std::vector<MenuItem>& MainMenu()
{
    static const std::vector<MenuItem> menu = BuildMainMenu();
    return menu;
}

std::span<const ToolButton> StandardToolButtons()
{
    return kStandard;
}

std::span<const ToolButton> AidsToolButtons()
{
    return kAids;
}

std::span<const ToolButton> ArchToolButtons()
{
    return kArch;
}

std::span<const ToolButton> ThreeDToolButtons()
{
    return kThreeD;
}

const ToolButton* FindToolButton(int id)
{
    static constexpr ToolButton about = {ID_APP_ABOUT, "About", "About Zepa"};
    if (id == about.id)
        return &about;
    for (std::span<const ToolButton> bar : {StandardToolButtons(), AidsToolButtons()})
        for (const ToolButton& button : bar)
            if (button.id == id && id != 0)
                return &button;
    return nullptr;
}

const char* UnavailableReason(int id)
{
    // The grid snap settings and the layer dialogs of the aids tool bar.
    switch (id) {
    case 4010: return "Snap: not in this program (no grid snap settings dialog)";
    case 10034: return "Current layer: not in this program (no layer dialogs)";
    case 10036: return "Layers on/off: not in this program (no layer dialogs)";
    case 4012: return "New layer: not in this program (no layer dialogs)";
    case 4013: return "Layer colour: not in this program (no layer dialogs)";
    default: return nullptr;
    }
}

bool NeedsDrawing(int id)
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_APP_EXIT:
    case ID_APP_ABOUT:
    case ID_WINDOW_CASCADE:
    case ID_WINDOW_TILE:
    case ID_PREVIEW_AT_INSERT: return false;
    default: return true;
    }
}
