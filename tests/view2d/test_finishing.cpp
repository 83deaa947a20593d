// The finishing steps of the hatch, bitmap, elevation, thickness and region
// commands, called as their command rows call them.
#include "model/bloq.h"
#include "model/bmp.h"
#include "model/circ.h"
#include "model/fontrecord.h"
#include "model/hatch.h"
#include "model/pline.h"
#include "model/recta.h"
#include "model/text.h"
#include "res/hatchpatterns.h"
#include "support/blocks.h"
#include "support/bmpfile.h"
#include "support/scripted_forms.h"
#include "view_fixture.h"

#include <QTemporaryDir>

namespace {

class Finishing : public ViewTest {
protected:
    CDib* Last() const { return doc.GetLastEntityRecord(); }
    CRecta* LineAt(double z1, double z2)
    {
        CRecta* l = doc.AddRecta();
        l->m_p1 = CPointd(1, 1, z1);
        l->m_p2 = CPointd(4, 1, z2);
        return l;
    }
};

}  // namespace

TEST_F(Finishing, SolidHatchInTheChosenColourWithOneUndoState)
{
    auto* ring = doc.AddCircOnLayer(1, 0, "ZP", CPointd(5, 4), 1.5);
    ASSERT_NE(ring, nullptr);
    view.Invalidate();
    ScriptedForms forms;
    forms.Expect("COLOR", CancelWith({{"color", "Red"}})).Expect("COLOR", OkWith({{"color", "Red"}}));
    const int states = view.UndoStateCount(), count = Count();

    view.FinishSolidHatch(CPointd(5, 4));
    EXPECT_EQ(Count(), count) << "a cancelled colour adds nothing";
    EXPECT_EQ(view.UndoStateCount(), states);

    view.FinishSolidHatch(CPointd(5, 4));
    ASSERT_EQ(Count(), count + 1);
    ASSERT_EQ(Last()->m_type, ENT_HATCH);
    const auto* hatch = static_cast<CHatch*>(Last()->m_entity);
    EXPECT_EQ(hatch->m_kind, HATCH_SOLID);
    EXPECT_EQ(hatch->m_color, RGB(255, 0, 0));
    EXPECT_EQ(hatch->m_layer, doc.m_layerName);
    EXPECT_EQ(hatch->m_seed, CPointd(5, 4));
    EXPECT_EQ(view.UndoStateCount(), states + 1);
    const int red = Red();
    EXPECT_GT(red, 1000) << "the ring is filled";
    view.Invalidate();
    EXPECT_EQ(Red(), red) << "and so it is repainted";

    view.DoUndo();
    EXPECT_EQ(Count(), count);
    EXPECT_EQ(Red(), 0);
    view.DoRedo();
    EXPECT_EQ(Red(), red);
}

TEST_F(Finishing, BitmapHatchTakesThePickedPatternAndACancelLeavesNothing)
{
    ScriptedForms forms;
    forms.Expect("PREVHT", CancelWith()).Expect("PREVHT", Press("Tiles"));
    doc.SetModifiedFlag(false);
    const std::int64_t live = CDib::LiveCount();
    const int states = view.UndoStateCount(), count = Count();

    view.FinishBitmapHatch(CPointd(2, 2));
    EXPECT_EQ(Count(), count);
    EXPECT_EQ(CDib::LiveCount(), live) << "the hatch it added is freed";
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(view.UndoStateCount(), states);

    view.FinishBitmapHatch(CPointd(2, 2));
    ASSERT_EQ(Count(), count + 1);
    const auto* hatch = static_cast<CHatch*>(Last()->m_entity);
    EXPECT_EQ(hatch->m_kind, HATCH_PATTERN);
    EXPECT_EQ(hatch->m_color, 0u);
    EXPECT_EQ(hatch->m_pattern, HatchPatterns()[1].image);
    EXPECT_EQ(view.UndoStateCount(), states + 1);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(Finishing, BitmapOfTheChosenFileAtThePoint)
{
    QTemporaryDir dir;
    const std::string file = dir.filePath("my pic.bmp").toStdString();
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    WriteFile(file, MakeBmp(red));
    ScriptedForms forms;
    forms.Expect("FICH_PREV_BM", CancelWith({{"file", "x.bmp"}}))
        .Expect("FICH_PREV_BM", OkWith({{"file", file}, {"width", "3"}, {"height", "2"}}));
    const int states = view.UndoStateCount(), count = Count();
    view.FinishBitmap(CPointd(1, 2));
    EXPECT_EQ(Count(), count);
    view.FinishBitmap(CPointd(1, 2));
    ASSERT_EQ(Count(), count + 1);
    ASSERT_EQ(Last()->m_type, ENT_BITMAP);
    const auto* bmp = static_cast<CBmp*>(Last()->m_entity);
    EXPECT_EQ(bmp->m_file, file);
    EXPECT_EQ(bmp->m_corner, CPointd(1, 2));
    EXPECT_EQ(bmp->m_w, 3.0);
    EXPECT_EQ(bmp->m_h, 2.0);
    EXPECT_EQ(view.UndoStateCount(), states + 1);
    EXPECT_GT(Ink(), 0) << "drawn";
}

TEST_F(Finishing, ElevationAndThicknessOfTheSelectionOneStateEach)
{
    CRecta* line = LineAt(2, 3);
    const double thickness = line->m_thick1;  // the drawing's, 2.9
    const POSITION linePos = doc.GetLastEntityPosition();
    CText* text = doc.AddText();
    text->m_text = "T";
    const POSITION textPos = doc.GetLastEntityPosition();
    const int states = view.UndoStateCount();

    view.SelectEntity(ENT_LINE, linePos);
    view.SelectEntity(ENT_TEXT, textPos);
    doc.m_dialogValue = 5.0;
    view.ApplyElevation();
    EXPECT_EQ(line->m_p1.z, 5.0);
    EXPECT_EQ(line->m_p2.z, 6.0);
    EXPECT_EQ(view.UndoStateCount(), states + 1);
    EXPECT_EQ(view.GetFirstSelectedPosition(), nullptr);

    view.SelectEntity(ENT_TEXT, textPos);
    doc.m_dialogValue = 2.5;
    view.ApplyThickness();
    EXPECT_EQ(view.UndoStateCount(), states + 2) << "texts change nothing, but the state is kept";
    view.SelectEntity(ENT_LINE, linePos);
    view.ApplyThickness();
    EXPECT_EQ(line->m_thick1, 2.5);

    view.DoUndo();
    EXPECT_EQ(static_cast<CRecta*>(doc.GetEntityRecord(linePos)->m_entity)->m_thick1, thickness);
    view.DoUndo();
    view.DoUndo();
    EXPECT_EQ(static_cast<CRecta*>(doc.GetEntityRecord(linePos)->m_entity)->m_p1.z, 2.0);
}

TEST_F(Finishing, RegionFillsAPolylineOrReplacesOnlyABlocksColourAttributes)
{
    CObList segments(ListOwnership::owns);
    segments.AddTail(new CDib(ENT_LINE, NewLine(0, 0, 1, 0)));
    CPLine* pl = doc.AddPLine(segments);
    CBloq* block = AddNamedBlock(doc, "DOOR", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    LOGFONT font;
    block->AddAttrib(1, 0, "ZP", "RGB_G", "RGB_G", "7", 0, 0, CPointd(), font);
    block->AddAttrib(1, 0, "ZP", "DOORWIDTH", "DOORWIDTH", "0.8", 0, 2, CPointd(), font);

    ScriptedForms forms;
    forms.Expect("COLOR", OkWith({{"color", "Green"}}))
        .Expect("COLOR", OkWith({{"color", "Cyan"}}))
        .Expect("COLOR", CancelWith({{"color", "Red"}}));
    view.MakeRegionFromPLine(pl, ENT_PLINE);
    EXPECT_EQ(pl->m_fill, 1);
    EXPECT_EQ(pl->m_fillColor, RGB(0, 255, 0));

    view.MakeRegionFromPLine(block, ENT_INSERT);
    std::vector<std::string> attribs;
    for (CObject* a : block->GetAttribList())
        attribs.push_back(static_cast<CAttrib*>(a)->m_tag + "=" + static_cast<CAttrib*>(a)->Value());
    EXPECT_EQ(attribs, (std::vector<std::string>{"DOORWIDTH=0.8", "RGB_R=0", "RGB_G=255", "RGB_B=255"}));
    EXPECT_EQ(GetBlockColour(*block), RGB(0, 255, 255));

    view.MakeRegionFromPLine(block, ENT_INSERT);
    EXPECT_EQ(block->GetAttribList().GetCount(), 4) << "a cancelled colour changes nothing";
}
