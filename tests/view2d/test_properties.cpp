// Property changes of the selection through the right button, one row per
// case, each followed by one undo (the records as they were, as file bytes)
// and a redo (the result again); the text commands, the default colour and
// the dimension fonts.
#include "model/bloq.h"
#include "model/insbl.h"
#include "model/layer.h"
#include "res/commands.h"
#include "support/record_bytes.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"
#include "steps_fixture.h"
#include "view2d/undo.h"

#include <algorithm>
#include <cctype>
#include <clocale>
#include <functional>
#include <locale>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 255, 0);

class Props : public StepsTest {
public:
    // What the rows' checks read and set.
    using StepsTest::line;
    using ViewTest::doc;

    static const CEntity& Pen(const CObject* e) { return *static_cast<const CEntity*>(e); }
    // Each segment or part of a polyline or dimension, or entity of a block.
    static std::vector<const CEntity*> Parts(const CObList& list)
    {
        std::vector<const CEntity*> parts;
        for (CObject* obj : list)
            parts.push_back(static_cast<const CEntity*>(static_cast<CDib*>(obj)->m_entity));
        return parts;
    }

protected:
    void SetUp() override
    {
        StepsTest::SetUp();
        AddLayer("RED", kRed, 1);
        AddLayer("OFF", kBlue, 0);
        text->m_font.lfEscapement = 450;
    }

    void AddLayer(const char* name, COLORREF color, int on)
    {
        CLayer* l = doc.AddLayer(color, on);
        l->m_name = name;
    }


    // Selects a target of the fixture as the command's picks would; its record.
    CDib* Select(Target t)
    {
        CObject* e = nullptr;
        int type = 0;
        const POSITION pos = view.PickNearestEntity(PointOn(t), e, type);
        if (!pos) {
            ADD_FAILURE() << "nothing to select at target " << t;
            return nullptr;
        }
        view.SelectEntity(type, pos);
        return doc.GetEntityRecord(pos);
    }

};

// ---------------------------------------------------------------- selection rows

struct PropRow {
    const char* name;
    CommandCode code;
    StepsTest::Target selected;
    const char* dialog;
    FormAnswer answer;
    // Before the command: the fixture as the row needs it.
    std::function<void(Props&)> prepare;
    // After the command: what the selected entity must hold.
    std::function<void(Props&, const CDib& record)> check;
    bool changes = true;  // false: the records stay as they were
};

void PrintTo(const PropRow& r, std::ostream* os)
{
    *os << r.name;
}

class PropertyRows : public Props, public ::testing::WithParamInterface<PropRow> {};

TEST_P(PropertyRows, ChangesThenUndoesAndRedoesExactly)
{
    const PropRow& r = GetParam();
    if (r.prepare)
        r.prepare(*this);
    const CBloq* block = doc.FindBlock("B");
    const std::vector<std::string> before = RecordBytes(doc.GetEntityList());
    const std::vector<std::string> blockBefore = RecordBytes(block->GetEntityList());

    CDib* record = Select(r.selected);
    ASSERT_NE(record, nullptr);
    view.m_command = r.code;
    view.m_mode = MODE_PICK;
    {
        ScriptedForms forms;
        forms.Expect(r.dialog, r.answer);
        Right();
    }
    EXPECT_EQ(view.m_command, CMD_NONE);
    EXPECT_TRUE(view.SelectedRecords().empty());
    r.check(*this, *record);
    const std::vector<std::string> after = RecordBytes(doc.GetEntityList());
    const std::vector<std::string> blockAfter = RecordBytes(block->GetEntityList());
    EXPECT_EQ(after != before, r.changes);
    ASSERT_EQ(view.UndoStateCount(), 1);

    view.DoUndo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), before) << "one undo restores the list";
    EXPECT_EQ(RecordBytes(block->GetEntityList()), blockBefore) << "and the block";
    view.DoRedo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), after) << "redo gives the result again";
    EXPECT_EQ(RecordBytes(block->GetEntityList()), blockAfter);
    view.DoUndo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), before);
    EXPECT_EQ(RecordBytes(block->GetEntityList()), blockBefore);
}

using T = StepsTest::Target;

const PropRow kPropRows[] = {
    // Layer: the layer's name and colour, parts too; the record shows as its layer does.
    {"layer of a line", CMD_CHANGE_LAYER, T::kLine, "CAPASELC", OkWith({{"layer", "RED"}}), nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_layer, "RED");
         EXPECT_EQ(t.Pen(r.m_entity).m_color, kRed);
         EXPECT_EQ(r.m_visible, 1);
     }},
    {"layer of a polyline", CMD_CHANGE_LAYER, T::kPLine, "CAPASELC", OkWith({{"layer", "RED"}}), nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_color, kRed);
         for (const CEntity* s : Props::Parts(static_cast<const CPLine*>(r.m_entity)->m_segments)) {
             EXPECT_EQ(s->m_layer, "RED");
             EXPECT_EQ(s->m_color, kRed);
         }
     }},
    {"layer of a dimension", CMD_CHANGE_LAYER, T::kDim, "CAPASELC", OkWith({{"layer", "RED"}}), nullptr,
     [](Props&, const CDib& r) {
         for (const CEntity* p : Props::Parts(static_cast<const CAcot*>(r.m_entity)->m_parts)) {
             EXPECT_EQ(p->m_layer, "RED");
             EXPECT_EQ(p->m_color, kRed);
         }
     }},
    {"layer that is off hides the record", CMD_CHANGE_LAYER, T::kCircle, "CAPASELC", OkWith({{"layer", "OFF"}}),
     nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_layer, "OFF");
         EXPECT_EQ(r.m_visible, 0);
     }},
    {"layer of an insert leaves its block", CMD_CHANGE_LAYER, T::kInsert, "CAPASELC", OkWith({{"layer", "RED"}}),
     nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_color, kRed);
         EXPECT_EQ(t.doc.FindBlock("B")->m_color, 0u);
     }},
    // Colour: chosen, or the layer's; a missing layer keeps the colour.
    {"colour of a circle", CMD_CHANGE_COLOR, T::kCircle, "COLORSEL", OkWith({{"color", "Red"}}), nullptr,
     [](Props& t, const CDib& r) { EXPECT_EQ(t.Pen(r.m_entity).m_color, kRed); }},
    {"colour by layer", CMD_CHANGE_COLOR, T::kLine, "COLORSEL", OkWith({{"bylayer", "1"}, {"color", "Green"}}),
     [](Props& t) { t.line->m_layer = "RED"; },
     [](Props& t, const CDib& r) { EXPECT_EQ(t.Pen(r.m_entity).m_color, kRed); }},
    {"colour by a missing layer keeps the colour", CMD_CHANGE_COLOR, T::kLine, "COLORSEL",
     OkWith({{"bylayer", "1"}, {"color", "Green"}}),
     [](Props& t) {
         t.line->m_layer = "GONE";
         t.line->m_color = kBlue;
     },
     [](Props& t, const CDib& r) { EXPECT_EQ(t.Pen(r.m_entity).m_color, kBlue); }, false},
    {"colour of a polyline", CMD_CHANGE_COLOR, T::kPLine, "COLORSEL", OkWith({{"color", "Green"}}), nullptr,
     [](Props&, const CDib& r) {
         for (const CEntity* s : Props::Parts(static_cast<const CPLine*>(r.m_entity)->m_segments))
             EXPECT_EQ(s->m_color, kGreen);
     }},
    {"colour of a dimension", CMD_CHANGE_COLOR, T::kDim, "COLORSEL", OkWith({{"color", "Green"}}), nullptr,
     [](Props&, const CDib& r) {
         for (const CEntity* p : Props::Parts(static_cast<const CAcot*>(r.m_entity)->m_parts))
             EXPECT_EQ(p->m_color, kGreen);
     }},
    {"colour of an insert recolours its block", CMD_CHANGE_COLOR, T::kInsert, "COLORSEL",
     OkWith({{"color", "Green"}}), nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_color, kGreen);
         const CBloq* b = t.doc.FindBlock("B");
         EXPECT_EQ(b->m_color, kGreen);
         for (const CEntity* e : Props::Parts(b->GetEntityList()))
             EXPECT_EQ(e->m_color, kGreen);
     }},
    {"colour of a 3D face", CMD_CHANGE_COLOR, T::kFace, "COLORSEL", OkWith({{"color", "Red"}}), nullptr,
     [](Props& t, const CDib& r) { EXPECT_EQ(t.Pen(r.m_entity).m_color, kRed); }},
    // Line type: the kinds drawn with one, polyline segments too.
    {"line type of an arc", CMD_CHANGE_LINE_TYPE, T::kArc, "TIPOLIN", OkWith({{"type", "CENTER"}}), nullptr,
     [](Props& t, const CDib& r) { EXPECT_EQ(t.Pen(r.m_entity).m_style, 3); }},
    {"line type of a polyline", CMD_CHANGE_LINE_TYPE, T::kPLine, "TIPOLIN", OkWith({{"type", "DASHDOT"}}), nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_style, 2);
         for (const CEntity* s : Props::Parts(static_cast<const CPLine*>(r.m_entity)->m_segments))
             EXPECT_EQ(s->m_style, 2);
     }},
    {"line type of an insert changes nothing", CMD_CHANGE_LINE_TYPE, T::kInsert, "TIPOLIN",
     OkWith({{"type", "DASHED"}}), nullptr,
     [](Props&, const CDib&) {}, false},
    // Texts: height and font, keeping their angle; other kinds are passed over.
    {"text height", CMD_CHANGE_TEXT_HEIGHT, T::kText, "TEXTTAM", OkWith({{"height", "250"}}), nullptr,
     [](Props&, const CDib& r) { EXPECT_EQ(static_cast<const CText*>(r.m_entity)->m_font.lfHeight, 250); }},
    {"text font keeps the angle", CMD_CHANGE_TEXT_FONT, T::kText, "FONT",
     OkWith({{"face", "Courier"}, {"color", "Blue"}}), nullptr,
     [](Props&, const CDib& r) {
         const auto* t = static_cast<const CText*>(r.m_entity);
         EXPECT_EQ(FaceNameOf(t->m_font), "Courier");
         EXPECT_EQ(t->m_font.lfEscapement, 450);
         EXPECT_EQ(t->m_color, kBlue);
     }},
    // Pen width, polyline segments too.
    {"line thickness of a polyline", CMD_CHANGE_LINE_WIDTH, T::kPLine, "ESPEDIB", OkWith({{"width", "4"}}),
     nullptr,
     [](Props& t, const CDib& r) {
         EXPECT_EQ(t.Pen(r.m_entity).m_width, 4);
         for (const CEntity* s : Props::Parts(static_cast<const CPLine*>(r.m_entity)->m_segments))
             EXPECT_EQ(s->m_width, 4);
     }},
    {"line thickness of a dimension", CMD_CHANGE_LINE_WIDTH, T::kDim, "ESPEDIB", OkWith({{"width", "3"}}), nullptr,
     [](Props&, const CDib& r) {
         for (const CEntity* p : Props::Parts(static_cast<const CAcot*>(r.m_entity)->m_parts))
             EXPECT_EQ(p->m_width, 3);
     }},
};

INSTANTIATE_TEST_SUITE_P(Rows, PropertyRows, ::testing::ValuesIn(kPropRows),
                         [](const ::testing::TestParamInfo<PropRow>& info) {
                             std::string name;
                             for (char c : std::string(info.param.name))
                                 name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

}  // namespace

// ---------------------------------------------------------------- refusals

// A cancelled dialog, and a height the dialog does not take, change nothing
// and record nothing.
TEST_F(Props, CancelledOrRefusedChangesNothing)
{
    const std::vector<std::string> before = RecordBytes(doc.GetEntityList());
    const std::pair<CommandCode, const char*> commands[] = {
        {CMD_CHANGE_LAYER, "CAPASELC"},      {CMD_CHANGE_COLOR, "COLORSEL"}, {CMD_CHANGE_LINE_TYPE, "TIPOLIN"},
        {CMD_CHANGE_TEXT_HEIGHT, "TEXTTAM"}, {CMD_CHANGE_TEXT_FONT, "FONT"}, {CMD_CHANGE_LINE_WIDTH, "ESPEDIB"},
    };
    for (auto [code, dialog] : commands) {
        SCOPED_TRACE(dialog);
        Select(kText);
        view.m_command = code;
        view.m_mode = MODE_PICK;
        ScriptedForms forms;
        forms.Expect(dialog, CancelWith());
        Right();
        EXPECT_EQ(view.m_command, CMD_NONE);
        EXPECT_TRUE(view.SelectedRecords().empty());
    }
    for (const char* height : {"0", "-3", "nan", "inf", "1e999", "2.5"}) {
        SCOPED_TRACE(height);
        Select(kText);
        view.m_command = CMD_CHANGE_TEXT_HEIGHT;
        view.m_mode = MODE_PICK;
        ScriptedForms forms;
        // The refused value keeps the dialog open; the user then cancels.
        forms.Expect("TEXTTAM", OkWith({{"height", height}})).Expect("TEXTTAM", CancelWith());
        ScriptedMessageBoxes boxes({IDOK});
        Right();
        EXPECT_EQ(boxes.asked.size(), 1u);
    }
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), before);
    EXPECT_EQ(view.UndoStateCount(), 0);
}

// Recolouring one insert shows on every insert of its block; undo puts back
// the block's own colours, which need not be one colour.
TEST_F(Props, InsertColourReachesEveryInsertAndUndoesTheBlock)
{
    CBloq* block = doc.FindBlock("B");
    static_cast<CEntity*>(static_cast<CDib*>(block->GetEntityList().GetHead())->m_entity)->m_color = kBlue;
    CInsBl* other = Add(ENT_INSERT, NewInsert("B", 7, 5));
    const std::vector<std::string> before = RecordBytes(block->GetEntityList());
    Select(kInsert);
    view.SelectEntity(ENT_INSERT, PosOf(other));
    view.m_command = CMD_CHANGE_COLOR;
    view.m_mode = MODE_PICK;
    {
        ScriptedForms forms;
        forms.Expect("COLORSEL", OkWith({{"color", "Red"}}));
        Right();
    }
    for (const CEntity* e : Props::Parts(block->GetEntityList()))
        EXPECT_EQ(e->m_color, kRed);
    view.Invalidate();
    const QImage& shown = view.Image();
    const CPoint p = At(7.5, 5);
    bool red = false;
    for (int dy = -2; dy <= 2; ++dy)
        red |= (shown.pixel(p.x, p.y + dy) & 0xFFFFFF) == 0xFF0000u;
    EXPECT_TRUE(red) << "the other insert shows red";
    view.DoUndo();
    EXPECT_EQ(RecordBytes(block->GetEntityList()), before);
    EXPECT_EQ(block->m_color, 0u);
    view.DoRedo();
    for (const CEntity* e : Props::Parts(block->GetEntityList()))
        EXPECT_EQ(e->m_color, kRed);
}

// Undo gives a record its visible word back only with the layer it had: a
// record whose layer went off after a move stays hidden when the move is undone.
TEST_F(Props, UndoKeepsTheVisibleWordOfTheSameLayer)
{
    CDib* record = Select(kLine);
    view.m_firstPoint = CPointd(0, 0);
    view.m_secondPoint = CPointd(1, 0);
    view.MoveSelection();
    record->m_visible = 0;  // its layer was turned off
    view.DoUndo();
    EXPECT_EQ(record->m_visible, 0);
    view.DoRedo();
    EXPECT_EQ(record->m_visible, 0);
}

// ---------------------------------------------------------------- text, default colour, dimension fonts

TEST_F(Props, ChangeTextStaysActiveAndUndoes)
{
    const std::vector<std::string> before = RecordBytes(doc.GetEntityList());
    view.m_command = CMD_CHANGE_TEXT;
    view.m_mode = MODE_PICK;
    {
        ScriptedForms forms;
        forms.Expect("TEXTCAM", OkWith({{"text", "XYZ"}}));
        Pick(kText);
        EXPECT_EQ(forms.shown.at(0).values.at("text"), "ABC");
    }
    EXPECT_EQ(text->m_text, "XYZ");
    EXPECT_EQ(view.m_command, CMD_CHANGE_TEXT);
    {
        ScriptedForms none;  // a pick that misses the text shows nothing
        Pick(kLine);
    }
    const std::vector<std::string> after = RecordBytes(doc.GetEntityList());
    EXPECT_EQ(view.UndoStateCount(), 1);
    view.DoUndo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), before);
    view.DoRedo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), after);
    {
        ScriptedForms forms;  // OK on the same text records nothing
        forms.Expect("TEXTCAM", OkWith());
        Pick(kText);
    }
    EXPECT_EQ(view.UndoStateCount(), 1);
}

TEST_F(Props, DefaultColourTakesTheChoiceOrTheCurrentLayers)
{
    struct Row {
        const char* name;
        const char* currentLayer;
        FormAnswer answer;
        COLORREF expected;
    };
    const Row rows[] = {
        {"chosen", "L", OkWith({{"color", "Green"}}), kGreen},
        {"by layer", "RED", OkWith({{"bylayer", "1"}, {"color", "Green"}}), kRed},
        {"by a missing layer", "GONE", OkWith({{"bylayer", "1"}, {"color", "Green"}}), kBlue},
        {"cancelled", "L", CancelWith({{"color", "Green"}}), kBlue},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        doc.m_color = kBlue;
        doc.m_layerName = r.currentLayer;
        ScriptedForms forms;
        forms.Expect("COLORSEL", r.answer);
        ASSERT_TRUE(view.OnCommand(ID_DEFAULT_COLOR));
        EXPECT_EQ(doc.m_color, r.expected);
        EXPECT_EQ(view.UndoStateCount(), 0);
    }
}

TEST_F(Props, DimensionFontsTakeTheDimensionFontKeepingAngles)
{
    SetFaceName(doc.m_dimFont, "Arial");
    doc.m_dimFont.lfHeight = 30;
    std::vector<CText*> texts;
    for (CObject* obj : dim->m_parts)
        if (static_cast<CDib*>(obj)->m_type == ENT_TEXT)
            texts.push_back(static_cast<CText*>(static_cast<CDib*>(obj)->m_entity));
    ASSERT_FALSE(texts.empty());
    texts.front()->m_font.lfEscapement = -900;
    const std::vector<std::string> before = RecordBytes(doc.GetEntityList());

    ASSERT_TRUE(view.OnCommand(ID_UPDATE_DIMENSIONS));
    for (const CText* t : texts) {
        EXPECT_EQ(FaceNameOf(t->m_font), "Arial");
        EXPECT_EQ(t->m_font.lfHeight, 30);
    }
    EXPECT_EQ(texts.front()->m_font.lfEscapement, -900);
    EXPECT_EQ(view.UndoStateCount(), 1);
    const std::vector<std::string> after = RecordBytes(doc.GetEntityList());

    ASSERT_TRUE(view.OnCommand(ID_UPDATE_DIMENSIONS));
    EXPECT_EQ(view.UndoStateCount(), 1) << "nothing left to change, nothing recorded";
    view.DoUndo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), before);
    view.DoRedo();
    EXPECT_EQ(RecordBytes(doc.GetEntityList()), after);
}

// ---------------------------------------------------------------- inquiry

namespace {

// A comma as the decimal point for the C and C++ locales while it lives.
struct CommaDecimalLocale {
    CommaDecimalLocale()
    {
        if (std::setlocale(LC_ALL, "de_DE.UTF-8"))
            std::locale::global(std::locale("de_DE.UTF-8"));
    }
    ~CommaDecimalLocale()
    {
        std::setlocale(LC_ALL, "C");
        std::locale::global(std::locale::classic());
    }
};

}  // namespace

// Each pick of the list command shows the list dialog of the kind picked,
// numbers with the drawing's decimals whatever the locale; a miss shows nothing.
TEST_F(Props, ListShowsEachKindWithTheDecimals)
{
    struct Row {
        Target target;
        const char* dialog;  // null: nothing shown
        const char* field;
        const char* value;
    };
    const Row rows[] = {
        {kLine, "LISREC", "p1", "1.000 , 1.000 , 0.000"},
        {kLine, "LISREC", "layer", "L"},
        {kCircle, "LISCIR", "radius", "0.500"},
        {kArc, "LISARC", "centre", "8.000 , 1.500 , 0.000"},
        {kPLine, "LISPOL", "perimeter", "6.000"},  // round the closed outline
        {kPLine, "LISPOL", "area", "1.500"},
        {kPLine, "LISPOL", "end", "3.000 , 4.500 , 0.000"},
        {kText, "LISTEX", "angle", "-45"},
        {kInsert, "LISINS", "name", "B"},
        {kInsert, "LISINS", "insert", "7.000 , 3.200 , 0.000"},
        {kDim, "LISACO", "object", "Object: DIM"},
        {kFace, "LISTDF", "p3", "10.000 , 4.000 , 0.000"},
        {kMiss, nullptr, nullptr, nullptr},
    };
    CommaDecimalLocale comma;
    doc.m_coordDecimals = 3;
    view.m_command = CMD_LIST;
    view.m_mode = MODE_PICK;
    for (const Row& r : rows) {
        SCOPED_TRACE(r.target);
        ScriptedForms forms;
        if (r.dialog)
            forms.Expect(r.dialog, OkWith());
        Pick(r.target);
        EXPECT_EQ(view.m_command, CMD_LIST) << "the list stays for the next pick";
        if (r.dialog) {
            ASSERT_EQ(forms.shown.size(), 1u);
            EXPECT_EQ(forms.shown[0].values.at(r.field), r.value);
            EXPECT_EQ(forms.shown[0].values.at("object").substr(0, 8), "Object: ");
        }
    }
    EXPECT_EQ(view.UndoStateCount(), 0);
}

TEST_F(Props, IdentifyAndDistanceShowTheirNumbers)
{
    CommaDecimalLocale comma;
    doc.m_coordDecimals = 3;
    ScriptedForms forms;
    forms.Expect("LISID", OkWith()).Expect("LISDIS", OkWith());
    view.m_command = CMD_IDENTIFY;
    view.ClickAt(MK_LBUTTON, CPointd(6.25, 7));
    view.m_command = CMD_DISTANCE;
    view.ClickAt(MK_LBUTTON, CPointd(6, 7));
    view.ClickAt(MK_LBUTTON, CPointd(9, 11));
    EXPECT_EQ(view.m_command, CMD_NONE);
    ASSERT_EQ(forms.shown.size(), 2u);
    EXPECT_EQ(forms.shown[0].values.at("point"), "6.250 , 7.000");
    EXPECT_EQ(forms.shown[1].values.at("distance"), "5.000");
}
