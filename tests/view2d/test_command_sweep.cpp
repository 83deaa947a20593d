// Every command of the starter table driven through its whole input with
// valid picks and points and OK in its dialogs. Each ends with no command
// (or the state its repetition documents) and either changes the drawing,
// shows its dialog or a message. Rows say which trace they leave, and must leave
// it: the architectural, 3D and hatch commands change the drawing (the
// enclosure shows its area, the section asks for its window), the copies to
// the clipboard fill it and the paste adds what it holds.
#include "platform/archive.h"
#include "support/stored.h"
#include "view2d/clipboard.h"
#include "support/any_dialog.h"
#include "steps_fixture.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <algorithm>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

using T = StepsTest::Target;

// One input: a pick of a target, a click at a point, or the right button.
struct Input {
    char kind;  // 'p' pick, 'c' click, 'r' right button
    T target = T::kMiss;
    double x = 0, y = 0;
};

Input P(T target)
{
    return {'p', target};
}

Input C(double x, double y)
{
    return {'c', T::kMiss, x, y};
}

const Input R{'r'};

Input C(const CPointd& p)
{
    return C(p.x, p.y);
}

// The trace a row must leave. kAnyTrace: a change or a dialog.
enum Trace { kAnyTrace, kChanges, kDialog, kDisplay, kSectionWindow, kClipboard };

// What the drawing holds besides the fixture's records (StepsTest), and a
// copy of its line on the clipboard.
enum Scene { kPlain, kRoom, kOpenings, kCross, kLineCopied };

struct SweepRow {
    int id;
    CommandCode code;  // the starter's row when an id has two
    std::vector<Input> inputs;
    CommandCode endCode = CMD_NONE;
    int endMode = MODE_NONE;
    Trace trace = kAnyTrace;
    Scene scene = kPlain;
};

std::vector<SweepRow> Rows()
{
    const std::vector<Input> line2 = {P(T::kLine), P(T::kLine2)};
    const std::vector<Input> three = {C(6, 6.5), C(8, 6.5), C(7, 7.5)};
    const std::vector<Input> pickRight = {P(T::kLine), R};
    const auto& cross = StepsTest::kCrossingPicks;
    const Input a1 = C(cross[0]), a2 = C(cross[1]), b1 = C(cross[2]), b2 = C(cross[3]);
    const Input door = C(StepsTest::kDoorPick), window = C(StepsTest::kWindowPick);
    // Reference and insertion points on the room's bottom outer face, then a point of its inner face.
    const std::vector<Input> doorPoints = {C(5.5, 6.7), C(6, 6.7), C(6, 7)};
    return {
        {10009, CMD_NONE, {C(6, 6.5), C(7, 7), R}, CMD_NONE, MODE_LINE},
        {10074, CMD_NONE, {C(6, 6.5), C(7, 7), C(8, 6.5), R}, CMD_NONE, MODE_PLINE},
        {10063, CMD_NONE, {C(10, 6.5)}},
        {10066, CMD_NONE, three},
        {10067, CMD_CIRCLE_TAN_TAN_RADIUS, line2, CMD_NONE, MODE_NONE, kChanges},
        {10068, CMD_NONE, three},
        {10069, CMD_NONE, {C(10, 6.5), C(10.5, 6.5), C(10, 7)}},
        {10065, CMD_NONE, {C(10, 6.5)}},
        {10076, CMD_NONE, {C(6, 7)}},
        {10077, CMD_NONE, {C(6, 7)}},
        {10078, CMD_NONE, {C(6, 7)}},
        {10213, CMD_NONE, three},
        {10228, CMD_DIM_RADIAL, {P(T::kCircle), C(7, 2.5)}},
        {10253, CMD_HATCH_POINTS, {C(6, 6.5), C(8, 6.5), C(7, 7.5), R, R}, CMD_NONE, MODE_NONE, kChanges},
        {10255, CMD_HATCH_PLINE, {P(T::kPLine), R}, CMD_NONE, MODE_NONE, kChanges},
        {10450, CMD_ERASE, pickRight},
        {10451, CMD_MOVE, {P(T::kLine), R, C(6, 6.5), C(7, 7)}},
        {10452, CMD_COPY, {P(T::kLine), R, C(6, 6.5), C(7, 7)}},
        {10107, CMD_OFFSET, {P(T::kLine), R, C(2, 1.5)}},
        {10101, CMD_FILLET, line2, CMD_NONE, MODE_NONE, kChanges},
        {10102, CMD_FILLET_RADIUS, line2, CMD_NONE, MODE_NONE, kChanges},
        {10165, CMD_UNIFY, {P(T::kLine), C(4.85, 1)}, CMD_NONE, MODE_NONE, kChanges},
        {10040, CMD_EXTEND_SINGLE, {P(T::kLine2), P(T::kLine), R}, CMD_NONE, MODE_NONE, kChanges},
        {10079, CMD_EXTEND_ALL, {P(T::kLine2), P(T::kLine), R}, CMD_NONE, MODE_NONE, kChanges},
        {10108, CMD_STRETCH, {C(0.5, 0.5), C(3.5, 1.5), R, C(6, 6.5), C(7, 7)}, CMD_NONE, MODE_NONE, kChanges},
        {10057, CMD_CUT_EDGES, {C(2.5, 1.5), R, P(T::kLine), R}, CMD_NONE, MODE_NONE, kChanges},
        {10058, CMD_ROTATE, {P(T::kLine), R, C(2, 1)}},
        {10061, CMD_ROTATE_COPY, {P(T::kLine), R, C(2, 1)}},
        {10059, CMD_MIRROR, {P(T::kCircle), R, P(T::kLine)}},
        {10062, CMD_MIRROR_COPY, {P(T::kCircle), R, P(T::kLine)}},
        {10081, CMD_BLOCK_DEFINE, {P(T::kLine), R, C(1, 1)}},
        {10084, CMD_INSERT_BLOCK, {C(10, 7)}},
        {10114, CMD_EXPLODE, {P(T::kInsert), R}, CMD_NONE, MODE_NONE, kChanges},
        {10115, CMD_PLINE_CONVERT, {P(T::kLine)}, CMD_NONE, MODE_NONE, kChanges},
        {10116, CMD_PLINE_ADD, {P(T::kPLine), C(3.4, 4.5), R}, CMD_NONE, MODE_NONE, kChanges},
        {10166, CMD_PLINE_CLOSE, {P(T::kPLine)}, CMD_NONE, MODE_NONE, kChanges},
        {10120, CMD_CHANGE_LAYER, pickRight, CMD_NONE, MODE_NONE, kDialog},
        {10121, CMD_CHANGE_COLOR, pickRight, CMD_NONE, MODE_NONE, kDialog},
        {10168, CMD_CHANGE_LINE_TYPE, pickRight, CMD_NONE, MODE_NONE, kDialog},
        {10352, CMD_CHANGE_LINE_WIDTH, pickRight, CMD_NONE, MODE_NONE, kDialog},
        {10123, CMD_CHANGE_TEXT_HEIGHT, {P(T::kText), R}, CMD_NONE, MODE_NONE, kDialog},
        {10124, CMD_CHANGE_TEXT_FONT, {P(T::kText), R}, CMD_NONE, MODE_NONE, kDialog},
        {10125, CMD_CHANGE_TEXT, {P(T::kText), R}, CMD_NONE, MODE_NONE, kDialog},
        {10330, CMD_MOVE_DIM_TEXTS, {P(T::kDim), C(6, 7), C(6.5, 7.5), R}},
        {10131, CMD_LIST, pickRight, CMD_NONE, MODE_NONE, kDialog},
        {10132, CMD_IDENTIFY, {C(6, 7)}, CMD_NONE, MODE_NONE, kDialog},
        {10154, CMD_DISTANCE, {C(6, 7), C(7, 7.5)}, CMD_NONE, MODE_NONE, kDialog},
        {10162, CMD_AREA_POINTS, {C(6, 6.5), C(8, 6.5), C(7, 7.5), R}},
        {10164, CMD_AREA_PLINE, {P(T::kPLine)}},
        {10333, CMD_HATCH_SOLID, {C(10, 7)}},
        {10334, CMD_HATCH_BITMAP, {C(10, 7)}},
        {10430, CMD_REGION, {P(T::kPLine), R}},
        {10340, CMD_BITMAP, {C(10, 7)}},
        {10348, CMD_METAFILE_COPY, {C(6, 6.5), C(7, 7.5)}, CMD_NONE, MODE_NONE, kClipboard},
        {10349, CMD_COPY_TO_CLIPBOARD, pickRight, CMD_NONE, MODE_NONE, kClipboard},
        {4006, CMD_PASTE, {}, CMD_PASTE, MODE_NONE, kChanges, kLineCopied},
        {4002, CMD_3DFACE, {C(6, 6.5), C(8, 6.5), C(8, 7.5), C(6, 7.5)}, CMD_NONE, MODE_NONE, kChanges},
        {10385, CMD_SECTION, three, CMD_NONE, MODE_NONE, kSectionWindow},
        {10356, CMD_SELECTION_ELEVATION, pickRight},
        {10357, CMD_SELECTION_THICKNESS, pickRight},
        {10379, CMD_OBJECT_ELEVATION, pickRight, CMD_NONE, MODE_NONE, kDialog},
        {10256, CMD_WALL_OFFSET, {P(T::kLine), R, C(2, 1.5)}},
        {10259, CMD_WALL_JOINT_X, {a1, a2, b1, b2, R}, CMD_NONE, MODE_NONE, kChanges, kCross},
        {10260, CMD_WALL_JOINT_T, {a1, a2, b1, b2, R, P(T::kLeg)}, CMD_NONE, MODE_NONE, kChanges, kCross},
        {10261, CMD_WALL_JOINT_L, {a1, b1, a2, b2, R, C(6, 7)}, CMD_NONE, MODE_NONE, kChanges, kCross},
        {10294, CMD_ERASE_DOORS, {door, R}, CMD_NONE, MODE_NONE, kChanges, kOpenings},
        {10295, CMD_COPY_DOOR, {door, C(5.5, 8.9), C(6, 8.9), C(6, 8.6)}, CMD_NONE, MODE_PICK, kChanges, kOpenings},
        {10297, CMD_ERASE_WINDOWS, {window, R}, CMD_NONE, MODE_NONE, kChanges, kOpenings},
        {10299, CMD_COPY_WINDOW, {window, C(5.5, 7), C(6, 7), C(6, 6.7)}, CMD_NONE, MODE_PICK, kChanges, kOpenings},
        {10272, CMD_PILLAR, {P(T::kLine), P(T::kLine2), C(5, 2.5)}, CMD_NONE, MODE_NONE, kChanges},
        {10271, CMD_AUTO_DIMS, {C(7, 6.5), C(7, 9.2), C(6, 7.5)}, CMD_NONE, MODE_NONE, kChanges, kRoom},
        {10269, CMD_ENCLOSURE, {P(T::kRoomWall)}, CMD_NONE, MODE_NONE, kDialog, kRoom},
        {10393, CMD_DOOR_HEIGHTS, {door, R}, CMD_NONE, MODE_NONE, kChanges, kOpenings},
        {10392, CMD_WINDOW_HEIGHTS, {window, R}, CMD_NONE, MODE_NONE, kChanges, kOpenings},
        {10119, CMD_NONE, {P(T::kLine)}, CMD_NONE, MODE_PICK, kDialog},
        {4022, CMD_SHOW_CAMERAS, {}, CMD_SHOW_CAMERAS, MODE_NONE, kDisplay},
        {10360, CMD_CAMERA, {C(6, 7)}, CMD_NONE, MODE_NONE, kChanges},
        {10361, CMD_CAMERA_TARGET, {C(6, 7)}, CMD_NONE, MODE_NONE, kChanges},
        {10362, CMD_FOCAL_PLANE, {C(6, 7)}, CMD_NONE, MODE_NONE, kChanges},
        {10371, CMD_LIGHT, {C(6, 7), C(7, 7.5)}, CMD_NONE, MODE_NONE, kChanges},
        {10414, CMD_PLANE_VERTICAL, {C(6, 6.5), C(8, 6.5), C(7, 7.5), C(7, 6)}, CMD_NONE, MODE_NONE, kChanges},
        {10415, CMD_PLANE_3_POINTS, three, CMD_NONE, MODE_NONE, kChanges},
        {10354, CMD_DEFAULT_ELEVATION, {}, CMD_DEFAULT_ELEVATION, MODE_NONE, kDialog},
        {10355, CMD_DEFAULT_THICKNESS, {}, CMD_DEFAULT_THICKNESS, MODE_NONE, kDialog},
        {10263, CMD_DOOR, doorPoints, CMD_NONE, MODE_NONE, kChanges, kRoom},
        {10264, CMD_DOOR, doorPoints, CMD_NONE, MODE_NONE, kChanges, kRoom},
        {10265, CMD_DOOR, doorPoints, CMD_NONE, MODE_NONE, kChanges, kRoom},
        {10267, CMD_WINDOW_IN_WALL, {C(6, 7.02), C(7.25, 6.7)}, CMD_NONE, MODE_NONE, kChanges, kRoom},
        {10267, CMD_WINDOW, {C(5.5, 7), C(6, 7), C(6, 6.7)}, CMD_NONE, MODE_NONE, kChanges, kRoom},
        {10257, CMD_WALL, {C(6, 6.5), C(8, 6.5), C(8, 7), R}, CMD_NONE, MODE_NONE, kChanges},
        {ID_STAIR_ONE_FLIGHT, CMD_STAIR_FLIGHTS, {C(6, 6.5), C(9, 6.5), C(9, 7.5)}, CMD_NONE, MODE_NONE, kChanges},
        {ID_STAIR_TWO_FLIGHTS, CMD_STAIR_FLIGHTS, {C(6, 6.5), C(9, 6.5), C(9, 8.5)}, CMD_NONE, MODE_NONE, kChanges},
        {ID_STAIR_SPIRAL, CMD_STAIR_SPIRAL, {C(7, 7), C(8, 7)}, CMD_NONE, MODE_NONE, kChanges},
        {ID_SURFACE_REVOLUTION, CMD_REVOLUTION_AXIS, {P(T::kLine), P(T::kPLine)}, CMD_NONE, MODE_NONE, kChanges},
        {ID_SURFACE_TABULATED, CMD_TABULATED_PLINE, {P(T::kPLine)}, CMD_NONE, MODE_NONE, kChanges},
    };
}

// The commands that said an operation is missing, for the report.
void PrintTo(const SweepRow& r, std::ostream* os)
{
    *os << r.id;
}

class CommandSweep : public StepsTest, public ::testing::WithParamInterface<SweepRow> {
protected:
    void SetUp() override
    {
        StepsTest::SetUp();
        // A line in line with the first, and one across it, for unify and cut;
        // one on from the polyline's end, to add to it.
        Add(ENT_LINE, NewLine(4.5, 1, 5.2, 1));
        Add(ENT_LINE, NewLine(2.5, 0.3, 2.5, 1.8));
        Add(ENT_LINE, NewLine(3, 4.5, 3.8, 4.5));
    }

    void Give(const Input& in)
    {
        switch (in.kind) {
        case 'p': Pick(in.target); break;
        case 'c': view.ClickAt(MK_LBUTTON, CPointd(in.x, in.y)); break;
        default: Right(); break;
        }
    }
};

TEST_P(CommandSweep, EndsAndLeavesATrace)
{
    const SweepRow& r = GetParam();
    const StarterInfo* starter = FindStarter(r.id, r.code);
    ASSERT_NE(starter, nullptr);
    doc.m_toolWords[5] = r.code == CMD_WINDOW ? 1 : 0;  // the window's insert mode picks its row
    QGuiApplication::clipboard()->clear();
    switch (r.scene) {
    case kPlain: break;
    case kLineCopied:
        view.SelectEntity(ENT_LINE, doc.FindEntityRecord(doc.GetLastEntityRecord()));
        CopyObjectsToClipboard(view);
        view.ClearSelection();
        break;
    case kRoom: AddRoom(); break;
    case kOpenings:
        AddRoom();
        AddDoor();
        AddWindow();
        break;
    case kCross: AddCrossingWalls(); break;
    }
    tools.calls.clear();
    const std::vector<BYTE> before = Stored(doc);
    const QImage shown = view.Image().copy();
    panes.prompts.clear();

    AnyDialog dialogs;
    ASSERT_TRUE(view.OnCommand(r.id));
    for (const Input& in : r.inputs)
        Give(in);

    EXPECT_EQ(view.m_command, r.endCode);
    EXPECT_EQ(view.m_mode, r.endMode);
    const bool changed = Stored(doc) != before;
    const bool dialog = !dialogs.forms.empty() || !dialogs.boxes.empty();
    const std::string last = "last prompt: " + view.PromptBuffer();
    switch (r.trace) {
    case kAnyTrace: EXPECT_TRUE(changed || dialog) << "no trace; " << last; break;
    case kChanges: EXPECT_TRUE(changed) << last; break;
    case kDialog: EXPECT_TRUE(dialog) << last; break;
    case kDisplay: EXPECT_NE(view.Image(), shown) << last; break;
    case kClipboard: {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        EXPECT_TRUE(data && !data->formats().isEmpty()) << last;
        break;
    }
    case kSectionWindow: {
        const std::vector<std::string> called = tools.Names();
        EXPECT_NE(std::ranges::find(called, "OpenSectionView"), called.end()) << last;
        break;
    }
    }
}

INSTANTIATE_TEST_SUITE_P(Starters, CommandSweep, ::testing::ValuesIn(Rows()),
                         [](const ::testing::TestParamInfo<SweepRow>& info) {
                             return std::to_string(info.param.id) + "_" + std::to_string(int(info.param.code));
                         });

}  // namespace

// Every starter has its row in the sweep.
TEST(CommandSweepRows, CoverEveryStarter)
{
    const std::vector<SweepRow> rows = Rows();
    for (const StarterInfo& s : Starters()) {
        const bool covered = std::ranges::any_of(rows, [&](const SweepRow& r) { return r.id == s.id && r.code == s.code; });
        EXPECT_TRUE(covered) << s.id << " " << s.menuText;
    }
    EXPECT_EQ(rows.size(), Starters().size());
}
