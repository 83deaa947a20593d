// What the purge offers, what it removes, and the block choice of Write Block.
#include "dialogs/purgedlg.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/circ.h"
#include "platform/logfont.h"
#include "support/blocks.h"
#include "support/scripted_forms.h"

#include <gtest/gtest.h>

namespace {

class Purge : public ::testing::Test {
protected:
    void SetUp() override
    {
        doc.OnNewDocument();
        doc.m_layerName = "CURRENT";
        for (const char* name : {"ZP", "CURRENT", "ENTITY", "INBLOCK", "OFBLOCK", "ATTRIB", "HELD", "FREE", "FREE2"})
            doc.AddLayer(0, 1)->m_name = name;
        auto* circle = new CCirc;
        circle->m_layer = "ENTITY";
        doc.AppendEntityRecord(new CDib(ENT_CIRCLE, circle));
        doc.AppendEntityRecord(new CDib(ENT_INSERT, NewInsert("Used", 0, 0)));
        CRecta* inner = NewLine(0, 0, 1, 1);
        inner->m_layer = "INBLOCK";
        AddNamedBlock(doc, "Nested", {{ENT_LINE, inner}});
        CBloq* used = AddNamedBlock(doc, "Used", {{ENT_INSERT, NewInsert("Nested", 0, 0)}});
        used->m_layer = "OFBLOCK";
        LOGFONT font;
        used->AddAttrib(1, 0, "ATTRIB", "TAG", "TAG", "v", 0, 0, CPointd(), font);
        AddNamedBlock(doc, "DEF", {{ENT_LINE, NewLine(0, 0, 1, 0)}});  // the dimension marks
        AddNamedBlock(doc, "Free", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
        AddNamedBlock(doc, "HeldBlock", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
        inUse.layers = {"HELD", "L"};
        inUse.blocks = {"HeldBlock"};
    }
    CRectaDoc doc;
    CNamesInUse inUse;
};

TEST_F(Purge, RemovesTheTickedOnesOnly)
{
    std::vector<std::string> offered = UnusedLayers(doc, inUse);
    const auto free2 = std::find(offered.begin(), offered.end(), "FREE2") - offered.begin();
    {
        ScriptedForms forms;
        forms.Expect("CAPASMULT", OkWith({{"item" + std::to_string(free2), "1"}}));
        EXPECT_EQ(RunPurgaCapasDlg(doc, inUse), 1);
        EXPECT_EQ(forms.shown[0].values["item0"], "0");  // nothing is ticked at first
    }
    CLayer* layer = nullptr;
    EXPECT_FALSE(doc.FindLayer("FREE2", layer));
    EXPECT_TRUE(doc.FindLayer("FREE", layer));
    EXPECT_TRUE(doc.IsModified());

    doc.SetModifiedFlag(false);
    {
        ScriptedForms forms;
        forms.Expect("BLOQUESMULT", CancelWith({{"item0", "1"}}));
        EXPECT_EQ(RunPurgaBloqsDlg(doc, inUse), 2);
    }
    EXPECT_NE(doc.FindBlock("Free"), nullptr);
    EXPECT_FALSE(doc.IsModified());
    {
        ScriptedForms forms;
        forms.Expect("BLOQUESMULT", OkWith({{"item0", "1"}}));
        RunPurgaBloqsDlg(doc, inUse);
    }
    EXPECT_EQ(doc.FindBlock("Free"), nullptr);
    {
        ScriptedForms forms;
        forms.Expect("BLOQUESMULT", OkWith());
        RunPurgaBloqsDlg(doc, inUse);
        EXPECT_EQ(forms.shown[0].values["none"], "");
        EXPECT_EQ(forms.shown[0].labels["none"], "No block of the drawing is unused.");
    }
}

TEST_F(Purge, BlockChoiceGivesIndexAndName)
{
    int index = -1;
    std::string name;
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", OkWith({{"block", "Free"}}));
        ASSERT_EQ(RunSelecDlgEx(doc, index, name), 1);
    }
    EXPECT_EQ(name, "Free");
    POSITION pos = doc.GetFirstBlockPosition();
    for (int i = 0; i < index; ++i)
        doc.GetNextBlock(pos);
    EXPECT_EQ(doc.GetNextBlock(pos)->m_name, "Free");
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", CancelWith({{"block", "DEF"}}));
        EXPECT_EQ(RunSelecDlgEx(doc, index, name), 2);
    }
    EXPECT_EQ(name, "Free");
}

}  // namespace
