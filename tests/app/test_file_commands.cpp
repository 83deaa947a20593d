// The tool-box "Write Block" command: choice, file name, overwrite question.
#include "app/mainwnd.h"
#include "app/writeblock.h"
#include "doc/rectadoc.h"
#include "model/bloq.h"
#include "support/blocks.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_forms.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

std::string Contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class WriteBlockTest : public testing::Test {
protected:
    void SetUp() override
    {
        frame = std::make_unique<Cwm_MainWnd>();
        frame->show();
        doc = frame->NewDocument();
        AddNamedBlock(*doc, "First", {{ENT_LINE, NewLine(0, 0, 1, 0)}});
        AddNamedBlock(*doc, "Second", {{ENT_LINE, NewLine(0, 0, 2, 2)}, {ENT_LINE, NewLine(2, 2, 3, 0)}});
        dir = testing::TempDir() + "/write_block_" + testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directory(dir);
        previous = SetBlockFileQuestion([this](const std::string& suggestion) {
            ++asked;
            suggested = suggestion;
            return answer;
        });
    }
    void TearDown() override
    {
        SetBlockFileQuestion(previous);
        doc->SetModifiedFlag(false);
        frame.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<Cwm_MainWnd> frame;
    CRectaDoc* doc = nullptr;
    std::string dir, answer, suggested;
    int asked = 0;
    BlockFileQuestion previous;
};

TEST_F(WriteBlockTest, TheChosenBlockIsWrittenWhereTheUserSays)
{
    ScriptedForms forms;
    forms.Expect("BLOQSEL", OkWith({{"block", "Second"}}));
    answer = dir + "/second";
    OnToolWriteBlock();
    ASSERT_EQ(forms.shown.size(), 1u);
    EXPECT_EQ(forms.shown[0].values["block"], "First");
    EXPECT_EQ(suggested, "Second.zpd");
    CRectaDoc written;
    ASSERT_TRUE(written.OnOpenDocument(dir + "/second.zpd"));
    EXPECT_EQ(written.GetEntityList().GetCount(), 2);
}

TEST_F(WriteBlockTest, AFileThatExistsIsReplacedOnlyWhenTheUserSaysSo)
{
    answer = dir + "/first.zpd";
    std::ofstream(answer) << "old";
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", OkWith());
        ScriptedMessageBoxes boxes({IDNO});
        OnToolWriteBlock();
        ASSERT_EQ(boxes.asked.size(), 1u);
        EXPECT_NE(boxes.asked[0].find("already exists"), std::string::npos);
    }
    EXPECT_EQ(Contents(answer), "old");
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", OkWith());
        ScriptedMessageBoxes boxes({IDYES});
        OnToolWriteBlock();
    }
    CRectaDoc written;
    ASSERT_TRUE(written.OnOpenDocument(answer));
    EXPECT_EQ(written.GetEntityList().GetCount(), 1);
}

TEST_F(WriteBlockTest, ACancelledQuestionWritesNothing)
{
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", CancelWith());
        OnToolWriteBlock();
    }
    EXPECT_EQ(asked, 0);
    {
        ScriptedForms forms;
        forms.Expect("BLOQSEL", OkWith());
        OnToolWriteBlock();  // the file question answers nothing
    }
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(std::filesystem::is_empty(dir));
}

}  // namespace

TEST(WriteBlock, WithoutADrawingNothingIsAsked)
{
    Cwm_MainWnd frame;
    OnToolWriteBlock();  // any form or message fails the test
}
