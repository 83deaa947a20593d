// The view's file and purge commands from the menus, with the file dialogs
// answered by the test: block write and read, DXF write and read, purge.
#include "app/mainwnd.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "model/insbl.h"
#include "res/commands.h"
#include "support/blocks.h"
#include "support/scripted_forms.h"
#include "view2d/rectaview.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

class FileCommandsTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<Cwm_MainWnd>();
        frame->show();
        doc = frame->NewDocument();
        dir = testing::TempDir() + "/file_commands_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
        auto answer = [this](const FileQuestion& q) {
            questions.push_back(q);
            return answers.empty() ? std::string() : answers[questions.size() - 1];
        };
        frame->m_askOpenName = answer;
        frame->m_askSaveName = answer;
    }
    void TearDown() override
    {
        for (CRectaDoc* d : frame->Documents())
            d->SetModifiedFlag(false);
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    int Count(const CRectaDoc& d) const { return int(d.GetEntityList().GetCount()); }

    std::unique_ptr<Cwm_MainWnd> frame;
    CRectaDoc* doc = nullptr;
    std::string dir;
    std::vector<FileQuestion> questions;
    std::vector<std::string> answers;  // one per question, in order
};

TEST_F(FileCommandsTest, AWrittenBlockReopensAsADrawing)
{
    AddNamedBlock(*doc, "First", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    AddNamedBlock(*doc, "Second", {{ENT_LINE, NewLine(0, 0, 2, 2)}, {ENT_LINE, NewLine(2, 2, 3, 0)}});
    answers = {dir + "/second"};
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", OkWith({{"block", "Second"}}));
        frame->OnCommand(ID_BLOCK_WRITE);
        ASSERT_EQ(forms.shown.size(), 1u);
        EXPECT_EQ(forms.shown[0].values["block"], "First");
    }
    ASSERT_EQ(questions.size(), 1u);
    const FileQuestion& q = questions[0];
    EXPECT_TRUE(q.save);
    EXPECT_TRUE(q.overwritePrompt);
    EXPECT_EQ(q.fileName, "Second");
    EXPECT_EQ(q.defaultExt, "zpd");
    EXPECT_EQ(q.filter, "Drawing Files (*.zpd) | *.zpd ||");
    EXPECT_EQ(q.QtFilter(), "Drawing Files (*.zpd)");
    CRectaDoc written;
    ASSERT_TRUE(written.OnOpenDocument(dir + "/second.zpd"));
    EXPECT_EQ(Count(written), 2);
}

TEST_F(FileCommandsTest, CancelledBlockWriteWritesNothing)
{
    AddNamedBlock(*doc, "First", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", CancelWith());
        frame->ActiveView()->OnToolWriteBlock();
    }
    EXPECT_TRUE(questions.empty());
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", OkWith());
        frame->OnCommand(ID_BLOCK_WRITE);  // the file question answers nothing
    }
    EXPECT_EQ(questions.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// A drawing file read as a block becomes the next block to insert, and the
// insert command places it.
TEST_F(FileCommandsTest, AReadBlockInserts)
{
    {
        CRectaDoc part;
        part.OnNewDocument();
        part.AppendEntityRecord(new CDib(ENT_LINE, NewLine(0, 0, 1, 0)));
        part.AppendEntityRecord(new CDib(ENT_LINE, NewLine(1, 0, 1, 1)));
        ASSERT_TRUE(part.OnSaveDocument(dir + "/part.zpd"));
    }
    answers = {dir + "/part.zpd"};
    CRectaView& view = *frame->ActiveView();
    view.OnCommand(10009);  // a running command is cancelled
    frame->OnCommand(ID_BLOCK_READ);
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_FALSE(questions[0].save);
    EXPECT_EQ(questions[0].fileName, "*.zpd");
    EXPECT_EQ(questions[0].filter, "Drawing Files (*.zpd) | *.zpd ||");
    EXPECT_EQ(view.m_mode, MODE_NONE);
    CBloq* block = doc->FindBlock("part");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->GetEntityList().GetCount(), 2);
    EXPECT_EQ(view.m_pickedEntity, block);

    const int before = Count(*doc);
    frame->OnCommand(10084);
    {
        ScriptedForms forms;
        forms.Expect("INSERTAR", OkWith({{"block", "part"}}));
        view.ClickAt(MK_LBUTTON, CPointd(5, 5));
    }
    ASSERT_EQ(Count(*doc), before + 1);
    int type = 0;
    const auto* insert = static_cast<const CInsBl*>(doc->GetEntityAt(doc->GetLastEntityPosition(), type));
    ASSERT_EQ(type, ENT_INSERT);
    EXPECT_EQ(insert->m_block, "part");
}

// The DXF name is the title with any extension replaced.
TEST_F(FileCommandsTest, DxfWriteProposesTheTitleAsDxf)
{
    const std::pair<const char*, const char*> cases[] = {
        {"PLAN.zpd", "PLAN.dxf"}, {"AB", "AB.dxf"},       {"ABCDE", "ABCDE.dxf"},
        {"A.B.C", "A.B.dxf"},     {"plan.backup", "plan.dxf"},
    };
    for (const auto& [title, proposed] : cases) {
        questions.clear();
        doc->SetTitle(title);
        frame->OnCommand(ID_DXF_WRITE);
        ASSERT_EQ(questions.size(), 1u);
        EXPECT_EQ(questions[0].fileName, proposed) << title;
        EXPECT_TRUE(questions[0].save);
        EXPECT_TRUE(questions[0].overwritePrompt);
        EXPECT_EQ(questions[0].defaultExt, "dxf");
        EXPECT_EQ(questions[0].filter, "Drawing Files (*.dxf) | *.dxf ||");
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

// What DXF Write writes, DXF Read brings into another drawing.
TEST_F(FileCommandsTest, DxfWrittenAndReadBack)
{
    doc->AppendEntityRecord(new CDib(ENT_LINE, NewLine(0, 0, 4, 3)));
    CLayer* layer = doc->AddLayer(RGB(255, 0, 0), 1);
    layer->m_name = "L";
    doc->SetPathName(dir + "/plan.zpd");
    answers = {dir + "/plan", dir + "/plan.dxf"};
    frame->OnCommand(ID_DXF_WRITE);
    ASSERT_TRUE(std::filesystem::exists(dir + "/plan.dxf"));
    EXPECT_EQ(questions[0].folder, dir) << "asked in the drawing's folder";

    CRectaDoc* other = frame->NewDocument();
    const int before = Count(*other);
    frame->OnCommand(ID_DXF_READ);
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_FALSE(questions[1].save);
    EXPECT_FALSE(questions[1].overwritePrompt);
    EXPECT_EQ(questions[1].fileName, "*.dxf");
    EXPECT_EQ(questions[1].folder, "") << "a new drawing has no folder";
    ASSERT_EQ(Count(*other), before + 1);
    int type = 0;
    const auto* line = static_cast<const CRecta*>(other->GetEntityAt(other->GetLastEntityPosition(), type));
    ASSERT_EQ(type, ENT_LINE);
    EXPECT_DOUBLE_EQ(line->m_p2.x, 4.0);
    EXPECT_DOUBLE_EQ(line->m_p2.y, 3.0);
}

// Purge from the menu: a block whose insert only the undo history keeps is
// not offered; the running command goes on.
TEST_F(FileCommandsTest, PurgeKeepsWhatUndoCanBringBack)
{
    AddNamedBlock(*doc, "Kept", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    AddNamedBlock(*doc, "Free", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
    CRectaView& view = *frame->ActiveView();
    doc->AppendEntityRecord(new CDib(ENT_INSERT, NewInsert("Kept", 2, 2)));
    view.SelectEntity(ENT_INSERT, doc->GetLastEntityPosition());
    view.EraseSelection();
    view.SaveUndoState();
    view.ClearSelection();
    view.OnCommand(10009);
    {
        ScriptedForms forms;
        forms.Expect("BLOQUESMULT", OkWith({{"item0", "1"}}));
        frame->OnCommand(ID_PURGE_BLOCKS);
        ASSERT_EQ(forms.shown.size(), 1u);
        EXPECT_EQ(forms.shown[0].labels.size(), 1u);
        EXPECT_EQ(forms.shown[0].labels["item0"], "Free");
    }
    EXPECT_EQ(view.m_mode, MODE_LINE);
    EXPECT_EQ(doc->FindBlock("Free"), nullptr);
    ASSERT_NE(doc->FindBlock("Kept"), nullptr);
    view.DoUndo();
    EXPECT_EQ(Count(*doc), 1);
    {
        ScriptedForms forms;
        forms.Expect("CAPASMULT", CancelWith());
        frame->OnCommand(ID_PURGE_LAYERS);
    }
}

}  // namespace
