#include "doc/rectadoc.h"
#include "platform/archive.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

using Bytes = std::vector<BYTE>;

Bytes ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

enum class State { Unmodified, ModifiedWithPath, ModifiedNoPath };

struct Outcome {
    bool asked;
    bool closes;
    bool modifiedAfter;
    bool fileRewritten;
};

Outcome Expected(State state, int answer, bool saveWorks)
{
    switch (state) {
    case State::Unmodified: return {false, true, false, false};
    case State::ModifiedNoPath: return {true, answer == IDNO, answer != IDNO, false};
    case State::ModifiedWithPath:
        if (answer == IDNO)
            return {true, true, false, false};
        if (answer == IDCANCEL)
            return {true, false, true, false};
        return {true, saveWorks, !saveWorks, saveWorks};
    }
    return {};
}

}  // namespace

// Every close question: drawing state x answer x whether the save works.
TEST(SaveClose, QuestionMatrix)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string path = dir.filePath("d.zpd").toStdString();
    const Bytes oldBytes = {'o', 'l', 'd'};

    for (State state : {State::Unmodified, State::ModifiedWithPath, State::ModifiedNoPath})
        for (int answer : {IDYES, IDNO, IDCANCEL})
            for (bool saveWorks : {true, false})
                for (bool frameQuestion : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "state " << int(state) << " answer " << answer
                                                    << (saveWorks ? " save works" : " save fails")
                                                    << (frameQuestion ? " frame" : " framework"));
                    std::ofstream(path, std::ios::binary | std::ios::trunc).write("old", 3);
                    CRectaDoc doc;
                    doc.OnNewDocument();
                    doc.SetTitle("d.zpd");
                    if (state != State::ModifiedNoPath)
                        doc.SetPathName(path);
                    if (state != State::Unmodified)
                        doc.SetModifiedFlag();
                    if (!saveWorks)  // an element without its entity cannot be stored
                        doc.AppendEntityRecord(new CDib(ENT_LINE, nullptr));

                    const Outcome want = Expected(state, answer, saveWorks);
                    std::deque<int> script;
                    if (want.asked)
                        script.push_back(answer);
                    const bool failureReported = want.asked && answer == IDYES && !saveWorks &&
                                                 state == State::ModifiedWithPath;
                    if (failureReported)
                        script.push_back(IDOK);
                    ScriptedMessageBoxes boxes(script);

                    bool closes;
                    if (frameQuestion) {
                        const int code = doc.QuerySaveOnClose();
                        closes = code != IDCANCEL;
                        EXPECT_EQ(code == 0, !want.asked);
                    } else {
                        closes = doc.SaveModified();
                    }
                    EXPECT_EQ(closes, want.closes);
                    EXPECT_EQ(doc.IsModified(), want.modifiedAfter);
                    if (want.asked) {
                        ASSERT_FALSE(boxes.asked.empty());
                        const std::string q = frameQuestion ? " has been modified. Do you want to save it ?"
                                                            : " has been modified. Do you want to save it?";
                        EXPECT_EQ(boxes.asked[0], "The Document d.zpd" + q);
                    }
                    const Bytes now = ReadFile(path);
                    if (want.fileRewritten)
                        EXPECT_NE(now, oldBytes);
                    else
                        EXPECT_EQ(now, oldBytes);
                }
}

TEST(SaveClose, FailedSaveKeepsTheOldFileAndReportsOnce)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("keep.zpd").toStdString();
    CRectaDoc doc;
    doc.OnNewDocument();
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const Bytes good = ReadFile(path);

    doc.AppendEntityRecord(new CDib(ENT_CIRCLE, nullptr));
    doc.SetModifiedFlag();
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(boxes.asked.size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadFile(path), good);
}

TEST(SaveClose, SaveToOwnPathNeedsAPath)
{
    QTemporaryDir dir;
    CRectaDoc doc;
    doc.OnNewDocument();
    doc.SetModifiedFlag();
    doc.SaveToOwnPath();
    EXPECT_TRUE(doc.IsModified());
    const std::string path = dir.filePath("own.zpd").toStdString();
    doc.SetPathName(path);
    doc.SaveToOwnPath();
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(ReadFile(path).empty());
}

TEST(SaveClose, UnwritableDirectoryIsReported)
{
    CRectaDoc doc;
    doc.OnNewDocument();
    doc.SetModifiedFlag();
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_FALSE(doc.OnSaveDocument("/nonexistent-dir/x/y.zpd"));
    EXPECT_TRUE(doc.IsModified());
}
