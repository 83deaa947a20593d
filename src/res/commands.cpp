#include "res/commands.h"

namespace {

constexpr StarterInfo kStarters[] = {
    {10009, "&Line", 0, 1, 0, "From point:"},
    {10074, "&Polyline", 0, 10, 0, "From point:"},
    {10063, "Center,Radius", 0, 2, 0, "Circle Center:"},
    {10066, "3 Points", 0, 4, 0, "First Point:"},
    {10067, "Tang,Tang,Rad", 23, 100, 0, "First Tangent:"},
    {10068, "3 Points", 0, 6, 0, "First point:"},
    {10069, "Cent,Start,Ang", 0, 7, 0, "Center:"},
    {10065, "&Point", 0, 3, 0, "Pick point:"},
    {10076, "Left Aligned", 0, 9, 1, "Pick left point:"},
    {10077, "Right Aligned", 0, 9, 2, "Pick right point:"},
    {10078, "Centered", 0, 9, 3, "Pick center point:"},
    {10213, "Linear", 0, 11, 0, "From point:"},
    {10228, "Radial", 36, 100, 0, "Pick Circ/Arc:"},
    {10253, "By Points", 164, 0, 0, "Pick polygonal points:"},
    {10255, "By Polyline", 40, 100, 0, "Select ext. polyline:"},
    {10450, "Erase", 1, 100, 0, nullptr},
    {10451, "&Move", 2, 100, 0, nullptr},
    {10452, "Copy", 3, 100, 0, nullptr},
    {10107, "Offset", 13, 100, 0, nullptr},
    {10101, "Linear", 4, 100, 0, "Select line 1:"},
    {10102, "Radius", 14, 100, 0, "Select line 1:"},
    {10165, "&Unify", 32, 100, 0, "Select line 1:"},
    {10040, "Single", 5, 100, 0, "Select Boundary object:"},
    {10079, "All", 15, 100, 0, "Select Boundary object:"},
    {10108, "Stretch", 12, 100, 0, nullptr},
    {10057, "Cut", 6, 100, 0, "Select cutting edges:"},
    {10058, "WithOut Copy", 7, 100, 0, nullptr},
    {10061, "With Copy", 9, 100, 0, nullptr},
    {10059, "WithOut Copy", 8, 100, 0, nullptr},
    {10062, "With Copy", 10, 100, 0, nullptr},
    {10081, "Define", 11, 100, 0, nullptr},
    {10084, "Insert", 151, 0, 0, "Insert point"},
    {10114, "Explode", 16, 100, 0, "Select blocks,polil.or dims"},
    {10115, "Convert", 17, 100, 0, "Select Line or Arc"},
    {10116, "Add", 18, 100, 0, "Select Polyline"},
    {10166, "Close", 34, 100, 0, "Select Polyline"},
    {10120, "Layer", 25, 100, 0, nullptr},
    {10121, "Color", 26, 100, 0, nullptr},
    {10168, "Line Type", 35, 100, 0, nullptr},
    {10352, "Line Thick", 37, 100, 0, nullptr},
    {10123, "Height", 27, 100, 0, nullptr},
    {10124, "Font", 28, 100, 0, nullptr},
    {10125, "Text", 29, 100, 0, nullptr},
    {10330, "Move Texts", 33, 100, 0, nullptr},
    {10131, "List", 30, 100, 0, nullptr},
    {10132, "Identify", 157, 0, 0, "Pick Point:"},
    {10154, "Distance", 158, 0, 0, "First Point:"},
    {10162, "Points", 160, 0, 0, "Pick points:"},
    {10164, "Polyline", 31, 100, 0, "Pick polyline:"},
    {10333, "Solid Color", 171, 0, 0, "Pick internal point:"},
    {10334, "Bitmap", 169, 0, 0, "Pick internal point:"},
    {10430, "Region", 43, 100, 0, "Select polil. or block:"},
    {10340, "Bitmap", 168, 0, 0, "Pick insert point:"},
    {10348, "WMFCopy", 201, 0, 0, "From point:"},
    {10349, "ObjCopy", 80, 100, 0, nullptr},
    {4002, "3DFace", 235, 0, 0, "Point 1:"},
    {10385, "Sections", 240, 0, 0, "Origin Point for Section:"},
    {10356, "Elevation", 101, 100, 0, nullptr},
    {10357, "Thick (two sides)", 102, 100, 0, nullptr},
    {10379, "Elev. / Thick Object", 103, 100, 0, nullptr},
    {10256, "", 50, 100, 0, nullptr},
    {10259, "", 46, 100, 0, nullptr},
    {10260, "", 47, 100, 0, nullptr},
    {10261, "", 49, 100, 0, nullptr},
    {10294, "", 51, 100, 0, "Select doors to erase:"},
    {10295, "", 73, 100, 0, "Equal to door ...:"},
    {10297, "", 52, 100, 0, "Select windows to erase:"},
    {10299, "", 76, 100, 0, "Equal to window ...:"},
    {10272, "", 81, 100, 0, "Ref.Line x:"},
    {10271, "", 177, 0, 0, "From point:"},
    {10269, "", 82, 100, 0, "Select enclosure wall:"},
    {10393, "", 104, 100, 0, "Select Doors:"},
    {10392, "", 105, 100, 0, "Select Windows:"},
};

}  // namespace

std::span<const StarterInfo> PlainStarters()
{
    return kStarters;
}

const StarterInfo* FindStarter(int id)
{
    for (const StarterInfo& s : kStarters)
        if (s.id == id)
            return &s;
    return nullptr;
}
