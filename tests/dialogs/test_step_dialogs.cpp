// The dialogs of the command steps: selection filters, block insertion with
// its list and its previews, and an object's elevation and thickness.
#include "dialogs/stepdlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "model/recta.h"
#include "support/blocks.h"
#include "support/pixels.h"
#include "support/scripted_forms.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

class StepDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        doc.AddLayer(0, 1)->m_name = "WALLS";
    }
    CRectaDoc doc;
};

// The box of the ink of a picture: left, top, right, bottom; right < left when there is none.
struct InkBox {
    int l = 1 << 30, t = 1 << 30, r = -1, b = -1;
};

InkBox Ink(const QImage& img)
{
    InkBox box;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                box.l = std::min(box.l, x);
                box.r = std::max(box.r, x);
                box.t = std::min(box.t, y);
                box.b = std::max(box.b, y);
            }
    return box;
}

}  // namespace

TEST_F(StepDialogs, FiltersOfferEveryKindAndLayerTicked)
{
    ScriptedForms forms;
    forms.Expect("FILTROS", OkWith({{"type8", "0"}, {"layer:WALLS", "0"}}))
        .Expect("FILTROS", CancelWith({{"type1", "0"}}));
    CSelectionFilter filter;
    ASSERT_EQ(RunFiltrosDlg(doc, filter), 1);
    const auto& shown = forms.shown[0];
    for (const char* field : {"type1", "type2", "type3", "type4", "type5", "type6", "type7", "type8", "type11",
                              "type21", "type22", "layer:ZP", "layer:WALLS"})
        EXPECT_EQ(shown.values.at(field), "1") << field;
    EXPECT_EQ(shown.labels.at("type7"), "Blocks");
    EXPECT_TRUE(filter.Passes(ENT_LINE, "ZP"));
    EXPECT_TRUE(filter.Passes(ENT_LINE, "A layer the drawing lacks"));
    EXPECT_FALSE(filter.Passes(ENT_DIMENSION, "ZP"));
    EXPECT_FALSE(filter.Passes(ENT_LINE, "WALLS"));

    const CSelectionFilter kept = filter;
    EXPECT_EQ(RunFiltrosDlg(doc, filter), 2);
    EXPECT_EQ(filter.types, kept.types) << "Cancel changes nothing";
}

TEST_F(StepDialogs, InsertionListGivesTheBlockAndItsPlacement)
{
    CBloq* a = AddNamedBlock(doc, "A", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    CBloq* b = AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 0, 1)}});
    ScriptedForms forms;
    forms.Expect("INSERTAR", OkWith({{"rotation", "45"}, {"sx", "2"}, {"sy", "-1"}}))
        .Expect("INSERTAR", OkWith({{"block", "A"}}))
        .Expect("INSERTAR", CancelWith({{"block", "B"}}));
    CBloq* block = b;
    std::string name;
    double rotation = 0, sx = 0, sy = 0;
    ASSERT_EQ(RunInsertarDlgEx(doc, block, name, rotation, sx, sy), 1);
    EXPECT_EQ(forms.shown[0].values.at("block"), "B") << "the current block comes first";
    EXPECT_EQ(forms.shown[0].values.at("rotation"), "0.00");
    EXPECT_EQ(block, b);
    EXPECT_EQ(name, "B");
    EXPECT_DOUBLE_EQ(rotation, std::numbers::pi / 4);
    EXPECT_EQ(sx, 2);
    EXPECT_EQ(sy, -1);

    ASSERT_EQ(RunInsertarDlgEx(doc, block, name, rotation, sx, sy), 1);
    EXPECT_EQ(block, a);
    EXPECT_EQ(name, "A");
    EXPECT_EQ(rotation, 0);
    EXPECT_EQ(RunInsertarDlgEx(doc, block, name, rotation, sx, sy), 0);
    EXPECT_EQ(block, a) << "Cancel changes nothing";

    CRectaDoc empty;
    empty.OnNewDocument();
    forms.Expect("INSERTAR", OkWith());
    CBloq* none = nullptr;
    EXPECT_EQ(RunInsertarDlgEx(empty, none, name, rotation, sx, sy), 0) << "no block to choose";
}

TEST_F(StepDialogs, PreviewsAreChoicesWithTheBlocksDrawn)
{
    AddNamedBlock(doc, "A", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    CBloq* b = AddNamedBlock(doc, "B", {{ENT_LINE, NewLine(0, 0, 0, 1)}});
    std::vector<Form> seen;
    const DialogScript previous = SetDialogScript([&](const Form& form) {
        seen.push_back(form);
        return seen.size() == 1 ? FormAnswer{0, {{"sy", "3"}}, {"block1"}} : FormAnswer{1, {}, {}};
    });
    CBloq* block = nullptr;
    std::string name;
    double rotation = 0, sx = 0, sy = 0;
    EXPECT_EQ(RunBloqInsPrevDlgEx(doc, block, name, rotation, sx, sy), 1);
    EXPECT_EQ(block, b);
    EXPECT_EQ(sy, 3);
    ASSERT_EQ(seen.size(), 1u);
    const FormField* cell = seen[0].Find("block0");
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->kind, FieldKind::Choice);
    EXPECT_EQ(cell->label, "A");
    ASSERT_FALSE(cell->picture.isNull());
    EXPECT_GE(Ink(cell->picture).r, 0) << "the block is drawn";

    // OK with no choice takes the current block; with none there is nothing to insert.
    EXPECT_EQ(RunBloqInsPrevDlgEx(doc, block, name, rotation, sx, sy), 1);
    EXPECT_EQ(name, "B");
    block = nullptr;
    EXPECT_EQ(RunBloqInsPrevDlgEx(doc, block, name, rotation, sx, sy), 0);
    SetDialogScript(previous);
}

// A block fills its cell along its longer side and sits in its middle along the other.
// A preview is the block fitted into its cell with its insertion point
// marked in red; an empty block leaves the cell white.
TEST_F(StepDialogs, PreviewFitsTheBlockInItsCell)
{
    const CBloq* block = AddNamedBlock(doc, "NEAR", {{ENT_LINE, NewLine(0.2, 0.1, 1.2, 0.6)}});
    const QImage img = BlockPreview(doc, *block, 96, 64);
    ASSERT_EQ(img.width(), 96);
    ASSERT_EQ(img.height(), 64);
    EXPECT_GT(CountPixels(img, 0xFF0000), 0);
    EXPECT_GT(CountPixels(img, 0), 0);
    CObList none(ListOwnership::owns);
    CBloq* empty = doc.AddBlock(CPointd(), none, "EMPTY");
    empty->CalcExtents(doc);
    EXPECT_LT(Ink(BlockPreview(doc, *empty, 32, 32)).r, 0) << "an empty block leaves the cell white";
}

TEST(ObjectElevation, LinesAndArcsOnOkOnly)
{
    ScriptedForms forms;
    forms.Expect("ZOBJ", OkWith({{"elevation", "5"}, {"thickness", "2"}}))
        .Expect("ZOBJ", OkWith({{"elevation", "-1"}, {"thickness", "0.5"}}))
        .Expect("ZOBJ", CancelWith({{"elevation", "7"}}));
    CRecta line;
    line.m_p1.z = 3;
    line.m_p2.z = 2;
    line.m_thick1 = 0.25;
    EXPECT_EQ(RunZObjetoDlg(&line, ENT_LINE), 1);
    EXPECT_EQ(forms.shown[0].values.at("elevation"), "2");
    EXPECT_EQ(forms.shown[0].values.at("thickness"), "0.25");
    EXPECT_EQ(line.m_p1.z, 6);
    EXPECT_EQ(line.m_p2.z, 5);
    EXPECT_EQ(line.m_thick1, 2);
    EXPECT_EQ(line.m_thick2, 2);

    CArc arc;
    EXPECT_EQ(RunZObjetoDlg(&arc, ENT_ARC), 1);
    EXPECT_EQ(arc.m_centre.z, -1);
    EXPECT_EQ(arc.m_thick1, 0.5);
    EXPECT_EQ(arc.m_thick2, 0.5);
    EXPECT_EQ(RunZObjetoDlg(&arc, ENT_ARC), 2);
    EXPECT_EQ(arc.m_centre.z, -1);

    CCirc circle;
    EXPECT_EQ(RunZObjetoDlg(&circle, ENT_CIRCLE), 0) << "no dialog for other kinds";
}
