// The command state machine, one row per case: a pick while objects are
// picked, a point for each command step, and the right button. Each row
// gives the state before, the input, and the code, mode, band, prompt,
// dialog, records, undo states and view tool after. A row whose operation is
// still a stub ends the command with the stub's message instead.
#include "support/any_dialog.h"
#include "steps_fixture.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <ostream>
#include <utility>

namespace {

// What a row sets up before its input.
enum Setup : unsigned {
    kNone = 0,
    kSelLine = 1,         // the first line selected
    kTwoLines = 2,        // both lines selected
    kSelCircle = 4,       // the circle selected
    kBand = 8,            // a first point at (5, 6) with the band from it
    kPickDim = 16,        // the dimension picked for a later step
    kPickInsert = 32,     // the insert picked
    kPickPLine = 64,      // the polyline picked
    kPickWall = 128,      // the first line picked as a wall line
    kBoundary = 256,      // the second line picked as the boundary
    kAxisAndPLine = 512,  // the first line as an axis, the polyline as a profile
    kPickLine = 1024,     // the first line picked (object elevation)
    kPoints = 2048,       // three points in the point list
    kToolPoints = 4096,   // tool points A to C of a face
    kRoom = 8192,         // the room's walls (AddRoom)
    kOpening = 16384,     // first and second point (5.5, 6.7) and (6, 6.7) on the room's bottom outer face
    kDoor = 32768,        // a door in the room, picked and selected
    kWindow = 65536,      // a window in the room, picked and selected
    kAcross = 131072,     // first and second point (7, 6.5) and (7, 9.2), across the room
    kCross = 262144,      // two crossing walls, their lines selected A1, A2, B1, B2
    kAlong = 524288,      // first and second point (5, 6) and (8, 6), the band from the first
    kThick = 1048576,     // a wall thickness of 0.25
    kChain = 2097152,     // a chain of four walls round a square, not closed yet
};

constexpr const char* kCleared = "";
constexpr int kAny = INT_MIN;

// Row names as test names.
template <class Row>
std::string RowName(const ::testing::TestParamInfo<Row>& info)
{
    std::string name;
    bool upper = true;
    for (char c : std::string(info.param.name)) {
        if (std::isalnum(static_cast<unsigned char>(c))) {
            name += upper ? char(std::toupper(static_cast<unsigned char>(c))) : c;
            upper = false;
        } else {
            upper = true;
        }
    }
    return name;
}

// Where a row ends: code, mode, band, prompt, selection size, dialog shown,
// records added, the undo
// states it adds (one undo then takes its records back) and the view tool it
// calls last.
struct After {
    CommandCode code;
    int mode;
    const char* prompt = nullptr;  // null: not checked; kCleared: blank; else how it starts
    int band = kAny;
    int selected = kAny;
    const char* dialog = nullptr;  // a template shown; null: none
    int added = 0;  // kAny: some
    int states = kAny;
    const char* tool = nullptr;
};

class StepRows : public StepsTest {
protected:

    void Keep(CObject* e, int type)
    {
        view.m_pickedEntity = e;
        view.m_pickedType = type;
        view.m_pickedPos = PosOf(e);
        view.m_pickedSerial = doc.GetEntityRecord(view.m_pickedPos)->m_serial;
    }

    void Prepare(CommandCode code, int mode, unsigned setup)
    {
        view.CancelCommand();
        panes.prompts.clear();
        if (setup & (kSelLine | kTwoLines))
            view.SelectEntity(ENT_LINE, PosOf(line));
        if (setup & kTwoLines)
            view.SelectEntity(ENT_LINE, PosOf(line2));
        if (setup & kSelCircle)
            view.SelectEntity(ENT_CIRCLE, PosOf(circle));
        if (setup & kBand) {
            view.m_firstPoint = view.m_bandStart = view.m_bandEnd = CPointd(5, 6);
            view.m_bandState = 1;
        }
        if (setup & kPickDim)
            Keep(dim, ENT_DIMENSION);
        if (setup & kPickInsert)
            Keep(insert, ENT_INSERT);
        if (setup & kPickPLine)
            Keep(pline, ENT_PLINE);
        if (setup & kPickLine)
            Keep(line, ENT_LINE);
        if (setup & kPickWall) {
            view.m_pickedLine = line;
            view.m_pickedLineSerial = doc.GetEntityRecord(PosOf(line))->m_serial;
        }
        if (setup & kBoundary)
            Keep(line2, ENT_LINE);
        if (setup & kAxisAndPLine) {
            view.m_workEntity = line;
            view.m_workSerial = doc.GetEntityRecord(PosOf(line))->m_serial;
            view.m_pickedPolyline = pline;
            view.m_pickedPolylineSerial = doc.GetEntityRecord(PosOf(pline))->m_serial;
        }
        if (setup & kPoints)
            for (const CPointd& p : {CPointd(5, 6), CPointd(7, 6), CPointd(7, 7)})
                view.m_pointList.AddTail(new CPointd(p));
        if (setup & kToolPoints)
            for (int i = 1; i <= 3; ++i)
                doc.m_toolPoints[i] = CPointd(5 + i, 6 + (i == 3));
        if (setup & kRoom)
            AddRoom();
        for (auto [flag, add] : {std::pair{kDoor, &StepRows::AddDoor}, std::pair{kWindow, &StepRows::AddWindow}})
            if (setup & flag) {
                CObject* opening = (this->*add)();
                Keep(opening, ENT_INSERT);
                view.SelectEntity(ENT_INSERT, PosOf(opening));
            }
        if (setup & kCross)
            for (CRecta* l : AddCrossingWalls())
                view.SelectEntity(ENT_LINE, PosOf(l));
        auto points = [&](const CPointd& first, const CPointd& second, const CPointd& bandStart) {
            view.m_firstPoint = first;
            view.m_secondPoint = second;
            view.m_bandStart = view.m_bandEnd = bandStart;
            view.m_bandState = 1;
        };
        if (setup & kOpening)
            points(CPointd(5.5, 6.7), CPointd(6, 6.7), CPointd(6, 6.7));
        if (setup & kAcross)
            points(CPointd(7, 6.5), CPointd(7, 9.2), CPointd(7, 6.5));
        if (setup & kAlong)
            points(CPointd(5, 6), CPointd(8, 6), CPointd(5, 6));
        if (setup & kThick)
            doc.m_wallOffset = 0.25;
        if (setup & kChain) {
            const CPointd corners[] = {{5, 6.8}, {8, 6.8}, {8, 8.6}, {5, 8.6}, {5, 6.8}};
            for (int i = 0; i < 4; ++i)
                ViewTools().MakeWall(doc, view, corners[i], corners[i + 1], CPointd(6.5, 7.7), i + 1, 0, 0.25);
        }
        view.m_command = code;
        view.m_mode = mode;
        tools.calls.clear();
        statesBefore = view.UndoStateCount();
        recordsBefore = Records();
    }

    void Check(const After& a, const AnyDialog& dialogs)
    {
        EXPECT_EQ(view.m_command, a.code);
        EXPECT_EQ(view.m_mode, a.mode);
        const std::string shown = view.PromptBuffer();
        if (a.prompt && *a.prompt) {
            EXPECT_EQ(shown.substr(0, std::string(a.prompt).size()), a.prompt);
        } else if (a.prompt) {
            EXPECT_EQ(shown.find_first_not_of(' '), std::string::npos) << shown;
        }
        if (a.band != kAny) {
            EXPECT_EQ(view.m_bandState, a.band);
        }
        if (a.selected != kAny) {
            EXPECT_EQ(int(view.SelectedRecords().size()), a.selected);
        }
        if (a.dialog) {
            EXPECT_NE(std::ranges::find(dialogs.forms, a.dialog), dialogs.forms.end()) << a.dialog;
        } else {
            EXPECT_TRUE(dialogs.forms.empty()) << dialogs.forms.front();
        }
        if (a.added != kAny) {
            EXPECT_EQ(Records() - recordsBefore, a.added);
        } else {
            EXPECT_GT(Records(), recordsBefore);
        }
        if (a.tool) {
            ASSERT_FALSE(tools.calls.empty()) << a.tool;
            EXPECT_EQ(tools.calls.back().name, a.tool);
        }
        if (a.states != kAny) {
            EXPECT_EQ(view.UndoStateCount() - statesBefore, a.states);
        }
        if (a.states == 1) {
            view.DoUndo();
            EXPECT_EQ(Records(), recordsBefore) << "one undo takes it all back";
        }
    }

    int recordsBefore = 0;
    int statesBefore = 0;
};

// ---------------------------------------------------------------- picks

struct PickRow {
    const char* name;
    CommandCode code;
    unsigned setup;
    StepsTest::Target target;
    After after;
};

void PrintTo(const PickRow& r, std::ostream* os)
{
    *os << r.name;
}

class PickDispatch : public StepRows, public ::testing::WithParamInterface<PickRow> {};

TEST_P(PickDispatch, Row)
{
    const PickRow& r = GetParam();
    Prepare(r.code, MODE_PICK, r.setup);
    AnyDialog dialogs;
    Pick(r.target);
    Check(r.after, dialogs);
}

using T = StepsTest::Target;

const PickRow kPickRows[] = {
    {"object elevation on a line", CMD_OBJECT_ELEVATION, kNone, T::kLine,
     {CMD_OBJECT_ELEVATION, MODE_PICK, nullptr, kAny, kAny, "ZOBJ"}},
    {"object elevation on an arc", CMD_OBJECT_ELEVATION, kNone, T::kArc,
     {CMD_OBJECT_ELEVATION, MODE_PICK, nullptr, kAny, kAny, "ZOBJ"}},
    {"object elevation on a circle", CMD_OBJECT_ELEVATION, kNone, T::kCircle, {CMD_OBJECT_ELEVATION, MODE_PICK}},
    {"revolution axis on a line", CMD_REVOLUTION_AXIS, kNone, T::kLine,
     {CMD_REVOLUTION_PLINE, MODE_PICK, "Select Polyline:"}},
    {"revolution axis on a circle", CMD_REVOLUTION_AXIS, kNone, T::kCircle, {CMD_REVOLUTION_AXIS, MODE_PICK}},
    {"revolution profile on a polyline", CMD_REVOLUTION_PLINE, kAxisAndPLine, T::kPLine,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .added = 1, .states = 1, .tool = "GenSupRev"}},
    {"tabulated surface on a polyline", CMD_TABULATED_PLINE, kNone, T::kPLine,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .added = 1, .states = 1, .tool = "GenSupTab"}},
    {"tabulated surface on a line", CMD_TABULATED_PLINE, kNone, T::kLine, {CMD_TABULATED_PLINE, MODE_PICK}},
    {"T leg of crossing walls", CMD_WALL_JOINT_T_LEG, kCross, T::kLeg,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .added = 1, .states = 1}},
    {"T leg with no walls selected", CMD_WALL_JOINT_T_LEG, kNone, T::kLine,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "T Joint: select four wall lines, then the leg", .selected = 0, .states = 0}},
    {"T leg missed", CMD_WALL_JOINT_T_LEG, kNone, T::kMiss, {CMD_WALL_JOINT_T_LEG, MODE_PICK, kCleared}},
    {"window wall line", CMD_WINDOW_IN_WALL, kNone, T::kLine,
     {CMD_WINDOW_EXT_POINT, MODE_NONE, "Towards (Ext.Wall):", 1}},
    {"window wall on a circle", CMD_WINDOW_IN_WALL, kNone, T::kCircle, {CMD_WINDOW_IN_WALL, MODE_PICK}},
    {"enclosure wall line", CMD_ENCLOSURE, kRoom, T::kRoomWall,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .dialog = "AREA", .tool = "MakeEnclosure"}},
    {"enclosure on a line of no enclosure", CMD_ENCLOSURE, kNone, T::kLine,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Enclosure: ", .tool = "MakeEnclosure"}},
    {"door to copy", CMD_COPY_DOOR, kNone, T::kInsert, {CMD_COPY_DOOR_REF, MODE_NONE, "Ref.Point (Ext.Wall):", 0}},
    {"window to copy", CMD_COPY_WINDOW, kNone, T::kInsert,
     {CMD_COPY_WINDOW_REF, MODE_NONE, "Ref.Point (Int.Wall):", 0}},
    {"door to copy on a line", CMD_COPY_DOOR, kNone, T::kLine, {CMD_COPY_DOOR, MODE_PICK}},
    {"pillar first line", CMD_PILLAR, kNone, T::kLine, {CMD_PILLAR, MODE_PICK, "Ref. Line y:", kAny, 1}},
    {"pillar second line", CMD_PILLAR, kSelLine, T::kLine2, {CMD_PILLAR_SIDE, MODE_NONE, "To (side):", 1, 2}},
    {"pillar same line again", CMD_PILLAR, kSelLine, T::kLine, {CMD_PILLAR, MODE_PICK, nullptr, kAny, 1}},
    {"pillar miss", CMD_PILLAR, kSelLine, T::kMiss, {CMD_NONE, MODE_NONE, kCleared, kAny, 0}},
    {"pillar on a circle", CMD_PILLAR, kSelLine, T::kCircle, {CMD_NONE, MODE_NONE, kCleared, kAny, 0}},
    {"hatch outline polyline", CMD_HATCH_PLINE, kNone, T::kPLine,
     {CMD_HATCH_ISLANDS, MODE_PICK, "Select obj. to remove", 0}},
    {"hatch outline on a line", CMD_HATCH_PLINE, kNone, T::kLine, {CMD_NONE, MODE_NONE, kCleared}},
    {"area of a polyline", CMD_AREA_PLINE, kNone, T::kPLine, {CMD_NONE, MODE_NONE, kCleared, kAny, kAny, "AREA"}},
    {"area missed", CMD_AREA_PLINE, kNone, T::kMiss, {CMD_NONE, MODE_NONE, kCleared}},
    {"radial dimension on a circle", CMD_DIM_RADIAL, kNone, T::kCircle, {CMD_NONE, MODE_DIM_RADIAL, "Position:"}},
    {"radial dimension on a line", CMD_DIM_RADIAL, kNone, T::kLine, {CMD_DIM_RADIAL, MODE_PICK, kCleared}},
    {"tangent circle first line", CMD_CIRCLE_TAN_TAN_RADIUS, kNone, T::kLine,
     {CMD_CIRCLE_TAN_TAN_RADIUS, MODE_PICK, "Second Tangent:", kAny, 1}},
    {"tangent circle second line", CMD_CIRCLE_TAN_TAN_RADIUS, kSelLine, T::kLine2,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .dialog = "RADIO", .added = 1, .states = 1}},
    {"tangent circle miss", CMD_CIRCLE_TAN_TAN_RADIUS, kSelLine, T::kMiss, {CMD_NONE, MODE_NONE, kCleared, kAny, 0}},
    {"list a line", CMD_LIST, kNone, T::kLine, {CMD_LIST, MODE_PICK, nullptr, kAny, 0, "LISREC", 0, 0}},
    {"list missed", CMD_LIST, kNone, T::kMiss, {CMD_LIST, MODE_PICK, nullptr, 0, 0}},
    {"region of a polyline", CMD_REGION, kNone, T::kPLine,
     {.code = CMD_REGION, .mode = MODE_PICK, .dialog = "COLOR"}},
    {"region of an insert", CMD_REGION, kNone, T::kInsert,
     {.code = CMD_REGION, .mode = MODE_PICK, .dialog = "COLOR"}},
    {"region of a line", CMD_REGION, kNone, T::kLine, {CMD_REGION, MODE_PICK}},
    {"dimension texts", CMD_MOVE_DIM_TEXTS, kNone, T::kDim, {CMD_MOVE_DIM_TEXTS_BASE, MODE_NONE, "From point:", 0}},
    {"dimension texts on a line", CMD_MOVE_DIM_TEXTS, kNone, T::kLine, {CMD_MOVE_DIM_TEXTS, MODE_PICK}},
    {"change a text", CMD_CHANGE_TEXT, kNone, T::kText,
     {CMD_CHANGE_TEXT, MODE_PICK, nullptr, kAny, kAny, "TEXTCAM", 0, 0}},
    {"change text on a line", CMD_CHANGE_TEXT, kNone, T::kLine, {CMD_CHANGE_TEXT, MODE_PICK}},
    {"stretch ignores a hit", CMD_STRETCH, kNone, T::kLine, {CMD_STRETCH, MODE_PICK, nullptr, kAny, 0}},
    {"stretch window", CMD_STRETCH, kNone, T::kMiss, {CMD_STRETCH, MODE_PICK_WINDOW, "Other Corner:", 1}},
    {"fillet first line", CMD_FILLET, kNone, T::kLine, {CMD_FILLET, MODE_PICK, "Select Line 2:", kAny, 1}},
    {"fillet second line", CMD_FILLET, kSelLine, T::kLine2,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .states = 1}},
    {"fillet by radius second line", CMD_FILLET_RADIUS, kSelLine, T::kLine2,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .dialog = "RADIO", .added = 1, .states = 1}},
    {"unify lines not in line", CMD_UNIFY, kSelLine, T::kLine2,
     {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Unify: the lines are not in line", .selected = 0, .states = 0}},
    {"unify same line again", CMD_UNIFY, kSelLine, T::kLine, {CMD_UNIFY, MODE_PICK, nullptr, kAny, 1}},
    {"unify miss", CMD_UNIFY, kSelLine, T::kMiss, {CMD_NONE, MODE_NONE, kCleared, kAny, 0}},
    {"convert a line", CMD_PLINE_CONVERT, kNone, T::kLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .states = 1}},
    {"convert an arc", CMD_PLINE_CONVERT, kNone, T::kArc, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .states = 1}},
    {"convert a circle", CMD_PLINE_CONVERT, kNone, T::kCircle, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .states = 0}},
    {"convert missed", CMD_PLINE_CONVERT, kNone, T::kMiss, {CMD_NONE, MODE_NONE, kCleared}},
    {"add to a polyline", CMD_PLINE_ADD, kNone, T::kPLine, {CMD_PLINE_ADD_OBJECTS, MODE_PICK, "Select objects to add"}},
    {"add to a line", CMD_PLINE_ADD, kNone, T::kLine, {CMD_NONE, MODE_NONE, kCleared}},
    {"close a polyline", CMD_PLINE_CLOSE, kNone, T::kPLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .states = 1}},
    {"close missed", CMD_PLINE_CLOSE, kNone, T::kMiss, {CMD_NONE, MODE_NONE, kCleared}},
    {"extend boundary", CMD_EXTEND_SINGLE, kNone, T::kLine2,
     {CMD_EXTEND_SINGLE, MODE_PICK, "Select obj. to extend:", kAny, 0}},
    {"extend boundary missed", CMD_EXTEND_SINGLE, kNone, T::kMiss, {CMD_NONE, MODE_NONE, kCleared}},
    {"extend all boundary", CMD_EXTEND_ALL, kNone, T::kLine2, {CMD_EXTEND_ALL, MODE_PICK, "Select obj. to extend:"}},
    {"extend a line", CMD_EXTEND_SINGLE, kBoundary, T::kLine,
     {.code = CMD_EXTEND_SINGLE, .mode = MODE_PICK, .states = 1}},
    {"extend missed", CMD_EXTEND_SINGLE, kBoundary, T::kMiss, {CMD_EXTEND_SINGLE, MODE_PICK, nullptr, 0}},
    {"extend all selects", CMD_EXTEND_ALL, kBoundary, T::kLine, {CMD_EXTEND_ALL, MODE_PICK, nullptr, kAny, 1}},
    {"extend all window", CMD_EXTEND_ALL, kBoundary, T::kMiss, {CMD_EXTEND_ALL, MODE_PICK_WINDOW, "Other Corner:"}},
    {"cut a line", CMD_CUT_OBJECTS, kNone, T::kLine,
     {.code = CMD_CUT_OBJECTS, .mode = MODE_PICK, .states = 0}},
    {"cut missed", CMD_CUT_OBJECTS, kNone, T::kMiss, {CMD_CUT_OBJECTS, MODE_PICK, nullptr, 0}},
    {"mirror line", CMD_MIRROR_LINE, kSelCircle, T::kLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0}},
    {"mirror line on a circle", CMD_MIRROR_LINE, kSelCircle, T::kCircle, {CMD_MIRROR_LINE, MODE_PICK, nullptr, 0, 1}},
    {"mirror copy line", CMD_MIRROR_COPY_LINE, kSelCircle, T::kLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0, nullptr, 1}},
    {"erase selects", CMD_ERASE, kNone, T::kFace, {CMD_ERASE, MODE_PICK, nullptr, kAny, 1}},
    {"erase window", CMD_ERASE, kNone, T::kMiss, {CMD_ERASE, MODE_PICK_WINDOW, "Other Corner:", 1}},
    {"picking with no command", CMD_NONE, kNone, T::kText, {CMD_NONE, MODE_PICK, nullptr, kAny, 1}},
    {"selection toggles out", CMD_MOVE, kSelLine, T::kLine, {CMD_MOVE, MODE_PICK, nullptr, kAny, 0}},
};

INSTANTIATE_TEST_SUITE_P(Rows, PickDispatch, ::testing::ValuesIn(kPickRows), RowName<PickRow>);

// ---------------------------------------------------------------- points

struct StepRow {
    const char* name;
    CommandCode code;
    int mode;
    unsigned setup;
    After after;
};

void PrintTo(const StepRow& r, std::ostream* os)
{
    *os << r.name;
}

class CommandStep : public StepRows, public ::testing::WithParamInterface<StepRow> {};

TEST_P(CommandStep, Row)
{
    const StepRow& r = GetParam();
    doc.m_toolWords[TW_DOOR_KIND] = 1;
    Prepare(r.code, r.mode, r.setup);
    AnyDialog dialogs;
    Click(6, 7);
    Check(r.after, dialogs);
}

const StepRow kStepRows[] = {
    // Taken as clicked, before snapping.
    {"close polyline", CMD_PLINE_CLOSE, MODE_NONE, kPickPLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .states = 1}},
    {"fillet", CMD_FILLET, MODE_NONE, kTwoLines, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .states = 1}},
    {"fillet by radius", CMD_FILLET_RADIUS, MODE_NONE, kTwoLines, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Fillet: the radius does not fit", .selected = 0, .dialog = "RADIO"}},
    {"unify", CMD_UNIFY, MODE_NONE, kTwoLines, {CMD_NONE, MODE_NONE, "Unify: the lines are not in line", kAny, 0}},
    {"tangent circle", CMD_CIRCLE_TAN_TAN_RADIUS, MODE_NONE, kTwoLines, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .dialog = "RADIO", .added = 1, .states = 1}},
    {"fillet whose second line is gone", CMD_FILLET, MODE_NONE, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0}},
    {"dimension texts picked", CMD_MOVE_DIM_TEXTS, MODE_NONE, kPickDim, {CMD_MOVE_DIM_TEXTS_BASE, MODE_NONE, "From point:"}},
    {"radial dimension picked", CMD_DIM_RADIAL, MODE_DIM_RADIAL, kNone, {CMD_NONE, MODE_DIM_RADIAL}},
    {"solid hatch", CMD_HATCH_SOLID, MODE_NONE, kNone, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .dialog = "COLOR", .added = 1, .states = 1}},
    {"bitmap hatch", CMD_HATCH_BITMAP, MODE_NONE, kNone, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .dialog = "PREVHT", .added = 1, .states = 1}},
    {"bitmap", CMD_BITMAP, MODE_NONE, kNone, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .dialog = "FICH_PREV_BM", .added = 1, .states = 1}},
    // Inquiry, clipboard, print.
    {"identify", CMD_IDENTIFY, MODE_NONE, kNone, {CMD_NONE, MODE_NONE, kCleared, kAny, kAny, "LISID", 0, 0}},
    {"distance first", CMD_DISTANCE, MODE_NONE, kNone, {CMD_DISTANCE_SECOND, MODE_NONE, "Second point:", 1}},
    {"distance second", CMD_DISTANCE_SECOND, MODE_NONE, kBand, {CMD_NONE, MODE_NONE, kCleared, 0, kAny, "LISDIS", 0, 0}},
    {"metafile first", CMD_METAFILE_COPY, MODE_NONE, kNone, {CMD_METAFILE_COPY_SECOND, MODE_NONE, "To point:", 1}},
    {"metafile second", CMD_METAFILE_COPY_SECOND, MODE_NONE, kBand, {CMD_NONE, MODE_NONE, kCleared, 0, kAny, nullptr, 0}},
    {"preview first", CMD_PREVIEW_FIRST, MODE_NONE, kNone, {CMD_PREVIEW_SECOND, MODE_NONE, "To point:", 1}},
    {"print first", CMD_PRINT_FIRST, MODE_NONE, kNone, {CMD_PRINT_SECOND, MODE_NONE, "To point:", 1}},
    {"preview second", CMD_PREVIEW_SECOND, MODE_NONE, kBand, {CMD_NONE, MODE_NONE, kCleared, 0}},
    {"print second", CMD_PRINT_SECOND, MODE_NONE, kBand, {CMD_NONE, MODE_NONE, kCleared, 0}},
    {"area point", CMD_AREA_POINTS, MODE_NONE, kNone, {CMD_AREA_POINTS, MODE_NONE}},
    {"hatch point", CMD_HATCH_POINTS, MODE_NONE, kNone, {CMD_HATCH_POINTS, MODE_NONE}},
    // Editing after a selection.
    {"move from", CMD_MOVE_BASE, MODE_NONE, kSelLine, {CMD_MOVE_TARGET, MODE_NONE, "To point:", 1}},
    {"copy from", CMD_COPY_BASE, MODE_NONE, kSelLine, {CMD_COPY_TARGET, MODE_NONE, "To point:", 1}},
    {"stretch from", CMD_STRETCH_BASE, MODE_NONE, kSelLine, {CMD_STRETCH_TARGET, MODE_NONE, "To point:", 1}},
    {"move to", CMD_MOVE_TARGET, MODE_NONE, kSelLine | kBand, {CMD_NONE, MODE_NONE, kCleared, 0, 0}},
    {"copy to", CMD_COPY_TARGET, MODE_NONE, kSelLine | kBand, {CMD_NONE, MODE_NONE, kCleared, 0, 0, nullptr, 1}},
    {"stretch to", CMD_STRETCH_TARGET, MODE_NONE, kSelLine | kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .states = 1}},
    {"rotate", CMD_ROTATE_CENTRE, MODE_NONE, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "AGIRO"}},
    {"rotate copies", CMD_ROTATE_COPY_CENTRE, MODE_NONE, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "AGIRO", 1}},
    {"offset side at no distance", CMD_OFFSET_SIDE, MODE_NONE, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .states = 0}},
    {"block base", CMD_BLOCK_BASE, MODE_NONE, kSelLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0, "BLOQDEF"}},
    {"dimension texts from", CMD_MOVE_DIM_TEXTS_BASE, MODE_NONE, kPickDim, {CMD_MOVE_DIM_TEXTS_TARGET, MODE_NONE, "To point:", 1}},
    {"dimension texts to", CMD_MOVE_DIM_TEXTS_TARGET, MODE_NONE, kPickDim | kBand, {CMD_MOVE_DIM_TEXTS, MODE_PICK, "Select Objects:", 0}},
    {"insert block", CMD_INSERT_BLOCK, MODE_NONE, kNone, {CMD_NONE, MODE_NONE, kCleared, 0, kAny, "INSERTAR", 1}},
    // 3D tools.
    {"face point 1", CMD_3DFACE, MODE_NONE, kNone, {CMD_3DFACE_2, MODE_NONE, "Point 2:", 1}},
    {"face point 2", CMD_3DFACE_2, MODE_NONE, kBand, {CMD_3DFACE_3, MODE_NONE, "Point 3:", 1}},
    {"face point 3", CMD_3DFACE_3, MODE_NONE, kBand, {CMD_3DFACE_4, MODE_NONE, "Point 4:", 1}},
    {"face point 4", CMD_3DFACE_4, MODE_NONE, kBand | kToolPoints, {CMD_NONE, MODE_NONE, kCleared, 0, kAny, nullptr, 1}},
    {"camera", CMD_CAMERA, MODE_NONE, kNone, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .tool = "DrawCamera"}},
    {"camera target", CMD_CAMERA_TARGET, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .tool = "DrawTarget"}},
    {"focal plane", CMD_FOCAL_PLANE, MODE_NONE, kBand, {CMD_NONE, MODE_NONE, kCleared, 0}},
    {"light", CMD_LIGHT, MODE_NONE, kNone, {CMD_LIGHT_TARGET, MODE_NONE, "To point:", 1}},
    {"light target", CMD_LIGHT_TARGET, MODE_NONE, kBand, {CMD_NONE, MODE_NONE, kCleared, 0}},
    {"plane origin", CMD_PLANE_3_POINTS, MODE_NONE, kNone, {CMD_PLANE_3_POINTS_EDGE_X, MODE_NONE, "Other point (edge X):", 1}},
    {"plane edge x", CMD_PLANE_3_POINTS_EDGE_X, MODE_NONE, kBand, {CMD_PLANE_3_POINTS_EDGE_Y, MODE_NONE, "Other point (edge Y):", 1}},
    {"plane edge y", CMD_PLANE_3_POINTS_EDGE_Y, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .dialog = "UCSOBJ"}},
    {"section plane origin", CMD_PLANE_VERTICAL, MODE_NONE, kNone, {CMD_PLANE_VERTICAL_EDGE_X, MODE_NONE, "Other point (edge X):", 1}},
    {"section plane edge", CMD_PLANE_VERTICAL_EDGE_X, MODE_NONE, kBand, {CMD_PLANE_VERTICAL_FROM, MODE_NONE, "Visible from:", 1}},
    {"section plane from", CMD_PLANE_VERTICAL_FROM, MODE_NONE, kBand, {CMD_PLANE_VERTICAL_TO, MODE_NONE, "Visible to:", 1}},
    {"section plane to", CMD_PLANE_VERTICAL_TO, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0}},
    {"section origin", CMD_SECTION, MODE_NONE, kNone, {CMD_SECTION_SECOND, MODE_NONE, "Other point:", 1}},
    {"section second", CMD_SECTION_SECOND, MODE_NONE, kBand, {CMD_SECTION_VISIBLE_TO, MODE_NONE, "Visible to:", 1}},
    {"section side", CMD_SECTION_VISIBLE_TO, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .tool = "OpenSectionView"}},
    {"object elevation", CMD_OBJECT_ELEVATION, MODE_NONE, kPickLine, {CMD_OBJECT_ELEVATION, MODE_PICK, nullptr, kAny, kAny, "ZOBJ"}},
    {"revolution axis taken", CMD_REVOLUTION_AXIS, MODE_NONE, kNone, {CMD_REVOLUTION_PLINE, MODE_PICK, "Select Polyline:"}},
    {"revolution", CMD_REVOLUTION_PLINE, MODE_NONE, kAxisAndPLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .added = 1, .states = 1, .tool = "GenSupRev"}},
    {"tabulated", CMD_TABULATED_PLINE, MODE_NONE, kAxisAndPLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .added = 1, .states = 1, .tool = "GenSupTab"}},
    // Architectural tools.
    {"wall start", CMD_WALL, MODE_NONE, kNone, {CMD_WALL_END, MODE_NONE, "To point:", 1}},
    {"wall end", CMD_WALL_END, MODE_NONE, kBand, {CMD_WALL_SIDE, MODE_NONE, "To Side:", 1}},
    {"wall side", CMD_WALL_SIDE, MODE_NONE, kAlong | kThick, {.code = CMD_WALL_END, .mode = MODE_NONE, .prompt = "To point:", .band = 1, .added = 2, .states = 1, .tool = "MakeWall"}},
    {"wall side with no thickness", CMD_WALL_SIDE, MODE_NONE, kAlong, {.code = CMD_WALL_END, .mode = MODE_NONE, .prompt = "Walls: the wall thickness", .band = 1, .states = 0, .tool = "MakeWall"}},
    {"wall point after a thickness change", CMD_WALL_SKIP_POINT, MODE_NONE, kNone, {CMD_WALL_END, MODE_NONE}},
    {"pillar lines", CMD_PILLAR, MODE_NONE, kTwoLines, {CMD_PILLAR_SIDE, MODE_NONE, "To (side):", 1, 2}},
    {"pillar whose line is gone", CMD_PILLAR, MODE_NONE, kSelLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0}},
    {"pillar side", CMD_PILLAR_SIDE, MODE_NONE, kTwoLines | kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .added = 1, .states = 1, .tool = "MakePillar"}},
    {"window in a wall", CMD_WINDOW_IN_WALL, MODE_NONE, kPickWall, {CMD_WINDOW_EXT_POINT, MODE_NONE, "Towards (Ext.Wall):", 1}},
    {"window reference", CMD_WINDOW, MODE_NONE, kNone, {CMD_WINDOW_INT_POINT, MODE_NONE, "Insert Point(Int. Wall):", 1}},
    {"window inner point", CMD_WINDOW_INT_POINT, MODE_NONE, kBand, {CMD_WINDOW_EXT_POINT, MODE_NONE, "Insert Point(Ext. Wall):", 1}},
    {"window outer point", CMD_WINDOW_EXT_POINT, MODE_NONE, kRoom | kOpening, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .added = 3, .states = 1, .tool = "BuildWindow"}},
    {"window outer point beside no wall", CMD_WINDOW_EXT_POINT, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "No wall line", .band = 0, .states = 0, .tool = "BuildWindow"}},
    {"door reference", CMD_DOOR, MODE_NONE, kNone, {CMD_DOOR_EXT_POINT, MODE_NONE, "Insert Point(Ext.Wall):", 1}},
    {"door outer point", CMD_DOOR_EXT_POINT, MODE_NONE, kBand, {CMD_DOOR_INT_POINT, MODE_NONE, "Insert Point(Int.Wall):", 1}},
    {"door inner point", CMD_DOOR_INT_POINT, MODE_NONE, kRoom | kOpening, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .added = 3, .states = 1, .tool = "BuildDoor"}},
    {"door copy picked", CMD_COPY_DOOR, MODE_NONE, kPickInsert, {CMD_COPY_DOOR_REF, MODE_NONE, "Ref.Point (Ext.Wall):", 0}},
    {"door copy reference", CMD_COPY_DOOR_REF, MODE_NONE, kPickInsert, {CMD_COPY_DOOR_EXT_POINT, MODE_NONE, "Insert Point(Ext.Wall):", 1}},
    {"door copy outer point", CMD_COPY_DOOR_EXT_POINT, MODE_NONE, kPickInsert | kBand, {CMD_COPY_DOOR_INT_POINT, MODE_NONE, "Insert point (Int. Wall):", 1}},
    {"door copy inner point", CMD_COPY_DOOR_INT_POINT, MODE_NONE, kRoom | kDoor | kOpening, {.code = CMD_NONE, .mode = MODE_PICK, .prompt = kCleared, .band = 0, .selected = 0, .added = 3, .states = 1, .tool = "PlaceDoorCopy"}},
    {"door copy of an insert of no door", CMD_COPY_DOOR_INT_POINT, MODE_NONE, kRoom | kPickInsert | kOpening, {.code = CMD_NONE, .mode = MODE_PICK, .prompt = "Pick a door to copy", .band = 0, .states = 0, .tool = "PlaceDoorCopy"}},
    {"window copy picked", CMD_COPY_WINDOW, MODE_NONE, kPickInsert, {CMD_COPY_WINDOW_REF, MODE_NONE, "Ref.Point (Int.Wall):", 0}},
    {"window copy reference", CMD_COPY_WINDOW_REF, MODE_NONE, kPickInsert, {CMD_COPY_WINDOW_INT_POINT, MODE_NONE, "Insert Point (Int.Wall):", 1}},
    {"window copy inner point", CMD_COPY_WINDOW_INT_POINT, MODE_NONE, kPickInsert | kBand, {CMD_COPY_WINDOW_EXT_POINT, MODE_NONE, "Ext.Wall:", 1}},
    {"window copy outer point", CMD_COPY_WINDOW_EXT_POINT, MODE_NONE, kRoom | kWindow | kOpening, {.code = CMD_NONE, .mode = MODE_PICK, .prompt = kCleared, .band = 0, .selected = 0, .added = 3, .states = 1, .tool = "PlaceWindowCopy"}},
    {"auto dims first", CMD_AUTO_DIMS, MODE_NONE, kNone, {CMD_AUTO_DIMS_SECOND, MODE_NONE, "To point:", 1}},
    {"auto dims second", CMD_AUTO_DIMS_SECOND, MODE_NONE, kBand, {CMD_AUTO_DIMS_LINE, MODE_NONE, "Insert Point:", 0}},
    {"auto dims position", CMD_AUTO_DIMS_LINE, MODE_NONE, kRoom | kAcross, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .added = 3, .states = 1, .tool = "MakeAutoDims"}},
    {"stair start", CMD_STAIR_FLIGHTS, MODE_NONE, kNone, {CMD_STAIR_LENGTH, MODE_NONE, "To point (Stair Lenght):", 1}},
    {"stair length", CMD_STAIR_LENGTH, MODE_NONE, kBand, {CMD_STAIR_WIDTH, MODE_NONE, "To point (Stair Flight Width):", 1}},
    {"stair width", CMD_STAIR_WIDTH, MODE_NONE, kAlong, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .added = 18, .states = 1, .tool = "GenEscaleraDosTramos"}},
    {"spiral stair centre", CMD_STAIR_SPIRAL, MODE_NONE, kNone, {CMD_STAIR_SPIRAL_START, MODE_NONE, "Start Point:", 1}},
    {"spiral stair start", CMD_STAIR_SPIRAL_START, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .added = 18, .states = 1, .tool = "GenEscaleraEspiral"}},
    {"L joint inner point", CMD_WALL_JOINT_L_INNER, MODE_NONE, kCross, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .states = 1}},
    {"L joint of two lines", CMD_WALL_JOINT_L_INNER, MODE_NONE, kTwoLines | kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "L Joint: select the four lines", .band = 0, .selected = 0, .states = 0}},
};

INSTANTIATE_TEST_SUITE_P(Rows, CommandStep, ::testing::ValuesIn(kStepRows), RowName<StepRow>);

// ---------------------------------------------------------------- right button

class RightButton : public StepRows, public ::testing::WithParamInterface<StepRow> {};

TEST_P(RightButton, Row)
{
    const StepRow& r = GetParam();
    Prepare(r.code, r.mode, r.setup);
    AnyDialog dialogs;
    Right();
    Check(r.after, dialogs);
}

const StepRow kRightRows[] = {
    {"three corner face", CMD_3DFACE_4, MODE_NONE, kBand | kToolPoints, {CMD_NONE, MODE_NONE, kCleared, 0, kAny, nullptr, 1}},
    {"elevation of the selection", CMD_SELECTION_ELEVATION, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, kAny, "Z", 0}},
    {"thickness of the selection", CMD_SELECTION_THICKNESS, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, kAny, "ESPESOR", 0}},
    {"object elevation ends", CMD_OBJECT_ELEVATION, MODE_PICK, kNone, {CMD_NONE, MODE_NONE, kCleared}},
    {"wall offset", CMD_WALL_OFFSET, MODE_PICK, kSelLine, {CMD_OFFSET_SIDE, MODE_NONE, "To side:", kAny, kAny, "REGRUESM"}},
    {"wall chain ends", CMD_WALL_END, MODE_NONE, kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .states = 0, .tool = "JoinWalls"}},
    {"wall chain closes", CMD_WALL_END, MODE_NONE, kChain | kBand, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .states = 1, .tool = "JoinWalls"}},
    {"X joint", CMD_WALL_JOINT_X, MODE_PICK, kCross, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .added = 4, .states = 1}},
    {"X joint of two lines", CMD_WALL_JOINT_X, MODE_PICK, kTwoLines, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "X Joint: select the four lines", .band = 0, .selected = 0, .states = 0}},
    {"T joint", CMD_WALL_JOINT_T, MODE_PICK, kSelLine, {CMD_WALL_JOINT_T_LEG, MODE_PICK, "T Leg:"}},
    {"T leg ends", CMD_WALL_JOINT_T_LEG, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0}},
    {"L joint", CMD_WALL_JOINT_L, MODE_PICK, kTwoLines, {CMD_WALL_JOINT_L_INNER, MODE_NONE, "Internal Angle Point:", 1, 2}},
    {"L joint whose first lines are parallel", CMD_WALL_JOINT_L, MODE_PICK, kCross, {CMD_WALL_JOINT_L_INNER, MODE_NONE, "Internal Angle Point:", 0, 4}},
    {"erase doors", CMD_ERASE_DOORS, MODE_PICK, kRoom | kDoor, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .added = -3, .states = 1, .tool = "EraseDoors"}},
    {"erase doors with none selected", CMD_ERASE_DOORS, MODE_PICK, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Door Erase: select doors", .band = 0, .selected = 0, .states = 0}},
    {"erase windows", CMD_ERASE_WINDOWS, MODE_PICK, kRoom | kWindow, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .added = -3, .states = 1, .tool = "EraseWindows"}},
    {"erase windows with none selected", CMD_ERASE_WINDOWS, MODE_PICK, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Win. Erase: select windows", .band = 0, .selected = 0, .states = 0}},
    {"door heights", CMD_DOOR_HEIGHTS, MODE_PICK, kRoom | kDoor, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .states = 1, .tool = "ApplyDoorHeights3D"}},
    {"door heights with none selected", CMD_DOOR_HEIGHTS, MODE_PICK, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Doors 3D: select doors", .band = 0, .selected = 0, .states = 0}},
    {"window heights", CMD_WINDOW_HEIGHTS, MODE_PICK, kRoom | kWindow, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .selected = 0, .states = 1, .tool = "ApplyWindowHeights3D"}},
    {"window heights with none selected", CMD_WINDOW_HEIGHTS, MODE_PICK, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = "Win. 3D: select windows", .band = 0, .selected = 0, .states = 0}},
    {"erase", CMD_ERASE, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0, nullptr, -1}},
    {"move", CMD_MOVE, MODE_PICK, kSelLine, {CMD_MOVE_BASE, MODE_NONE, "From point:", 0, 1}},
    {"copy", CMD_COPY, MODE_PICK, kSelLine, {CMD_COPY_BASE, MODE_NONE, "From point:", 0, 1}},
    {"stretch", CMD_STRETCH, MODE_PICK, kSelLine, {CMD_STRETCH_BASE, MODE_NONE, "From point:", 0, 1}},
    {"move with nothing selected", CMD_MOVE, MODE_PICK, kNone, {CMD_NONE, MODE_NONE, nullptr, 0}},
    {"extend ends", CMD_EXTEND_SINGLE, MODE_PICK, kNone, {CMD_NONE, MODE_NONE, kCleared}},
    {"offset", CMD_OFFSET, MODE_PICK, kSelLine, {CMD_OFFSET_SIDE, MODE_NONE, "Towards:", kAny, kAny, "DISTANCIA"}},
    {"extend all", CMD_EXTEND_ALL, MODE_PICK, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .states = 0}},
    {"explode a line", CMD_EXPLODE, MODE_PICK, kSelLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .states = 0}},
    {"explode a door", CMD_EXPLODE, MODE_PICK, kRoom | kDoor, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .added = kAny, .states = 1}},
    {"add a line touching no end", CMD_PLINE_ADD_OBJECTS, MODE_PICK, kSelLine | kPickPLine, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .selected = 0, .states = 0}},
    {"layer", CMD_CHANGE_LAYER, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "CAPASELC", 0, 1}},
    {"color", CMD_CHANGE_COLOR, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "COLORSEL", 0, 1}},
    {"line type", CMD_CHANGE_LINE_TYPE, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "TIPOLIN", 0, 1}},
    {"text height of no text", CMD_CHANGE_TEXT_HEIGHT, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "TEXTTAM", 0, 0}},
    {"text font of no text", CMD_CHANGE_TEXT_FONT, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "FONT", 0, 0}},
    {"line thickness", CMD_CHANGE_LINE_WIDTH, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0, "ESPEDIB", 0, 1}},
    {"change text ends", CMD_CHANGE_TEXT, MODE_PICK, kNone, {CMD_NONE, MODE_NONE, kCleared}},
    {"cutting edges", CMD_CUT_EDGES, MODE_PICK, kSelLine, {CMD_CUT_OBJECTS, MODE_PICK, "Select object to cut:"}},
    {"cut ends", CMD_CUT_OBJECTS, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, kAny, 0}},
    {"rotate", CMD_ROTATE, MODE_PICK, kSelLine, {CMD_ROTATE_CENTRE, MODE_NONE, "Point for rotatting edge:", 0}},
    {"rotate copies", CMD_ROTATE_COPY, MODE_PICK, kSelLine, {CMD_ROTATE_COPY_CENTRE, MODE_NONE, "Point for rotatting edge:", 0}},
    {"rotate with nothing selected", CMD_ROTATE, MODE_PICK, kNone, {CMD_NONE, MODE_NONE}},
    {"mirror", CMD_MIRROR, MODE_PICK, kSelLine, {CMD_MIRROR_LINE, MODE_PICK, "Select mirror line", 0}},
    {"mirror copies", CMD_MIRROR_COPY, MODE_PICK, kSelLine, {CMD_MIRROR_COPY_LINE, MODE_PICK, "Select mirror line", 0}},
    {"mirror with nothing selected", CMD_MIRROR, MODE_PICK, kNone, {CMD_NONE, MODE_PICK}},
    {"block define", CMD_BLOCK_DEFINE, MODE_PICK, kSelLine, {CMD_BLOCK_BASE, MODE_NONE, "Pick Insert Point", 0}},
    {"block define with nothing selected", CMD_BLOCK_DEFINE, MODE_PICK, kNone, {CMD_NONE, MODE_NONE}},
    {"list ends", CMD_LIST, MODE_PICK, kNone, {CMD_NONE, MODE_NONE, kCleared, 0}},
    {"dimension texts end", CMD_MOVE_DIM_TEXTS, MODE_PICK, kNone, {CMD_NONE, MODE_NONE, kCleared, 0}},
    {"region ends", CMD_REGION, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0}},
    {"objects to clipboard", CMD_COPY_TO_CLIPBOARD, MODE_PICK, kSelLine, {CMD_NONE, MODE_NONE, kCleared, 0, 0, nullptr, 0}},
    {"area of the points", CMD_AREA_POINTS, MODE_NONE, kPoints, {CMD_NONE, MODE_NONE, kCleared, 0, kAny, "AREA", 0}},
    {"hatch points end", CMD_HATCH_POINTS, MODE_NONE, kPoints, {CMD_HATCH_ISLANDS, MODE_PICK, "Select obj. to remove", 0}},
    {"hatch islands end", CMD_HATCH_ISLANDS, MODE_PICK, kPoints, {.code = CMD_NONE, .mode = MODE_NONE, .prompt = kCleared, .band = 0, .dialog = "TRAMA", .added = 1, .states = 1}},
    {"circle band", CMD_NONE, MODE_CIRCLE, kBand, {CMD_NONE, MODE_CIRCLE, kCleared, 0}},
};

INSTANTIATE_TEST_SUITE_P(Rows, RightButton, ::testing::ValuesIn(kRightRows), RowName<StepRow>);

}  // namespace

// The rows' clicks land on what they name.
TEST_F(StepsTest, EachTargetPicksItsKind)
{
    const std::pair<StepsTest::Target, int> targets[] = {
        {kLine, ENT_LINE},     {kLine2, ENT_LINE},     {kCircle, ENT_CIRCLE},   {kArc, ENT_ARC},
        {kPLine, ENT_PLINE},   {kText, ENT_TEXT},      {kInsert, ENT_INSERT},   {kDim, ENT_DIMENSION},
        {kFace, ENT_3DFACE},
    };
    for (auto [target, type] : targets) {
        CObject* entity = nullptr;
        int picked = 0;
        const CPoint d = At(PointOn(target).x, PointOn(target).y);
        EXPECT_NE(view.PickNearestEntity(view.DeviceToWorld(d), entity, picked), nullptr) << type;
        EXPECT_EQ(picked, type);
    }
    CObject* entity = nullptr;
    int picked = 0;
    EXPECT_EQ(view.PickNearestEntity(PointOn(kMiss), entity, picked), nullptr);
}


// Extend started again after a cancel takes its boundary first.
TEST_F(StepsTest, ExtendStartsAgainWithNoBoundary)
{
    view.OnCommand(10040);
    Pick(kLine2);
    view.CancelCommand();
    view.OnCommand(10040);
    Pick(kLine);
    EXPECT_EQ(view.UndoStateCount(), 0) << "the line is the new boundary, not extended";
}
