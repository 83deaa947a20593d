#include "doc/rectadoc.h"
#include "platform/archive.h"
#include "support/files.h"
#include "support/scripted_dialogs.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

using Bytes = std::vector<BYTE>;

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
                    const Bytes now = FileBytes(path);
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
    const Bytes good = FileBytes(path);

    doc.AppendEntityRecord(new CDib(ENT_CIRCLE, nullptr));
    doc.SetModifiedFlag();
    ScriptedMessageBoxes boxes({IDOK});
    EXPECT_FALSE(doc.OnSaveDocument(path));
    EXPECT_EQ(boxes.asked.size(), 1u);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(FileBytes(path), good);
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
    EXPECT_FALSE(FileBytes(path).empty());
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

// A disk of 64 KB of its own, mounted for the test when it runs as root.
class SmallDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small disk needs root";
        ASSERT_TRUE(m_dir.isValid());
        root = m_dir.path().toStdString();
        if (::mount("tmpfs", root.c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a small disk: " << std::strerror(errno);
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(root.c_str(), MNT_DETACH);
    }

    // Fills the disk with a file of its own until about leave bytes stay free.
    void Fill(off_t leave)
    {
        const std::string filler = root + "/filler";
        const int fd = ::open(filler.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
        ASSERT_GE(fd, 0);
        const std::vector<char> page(4096, 'x');
        while (::write(fd, page.data(), page.size()) > 0) {
        }
        ASSERT_EQ(errno, ENOSPC);
        const off_t size = ::lseek(fd, 0, SEEK_END);
        ASSERT_EQ(::ftruncate(fd, size > leave ? size - leave : 0), 0);
        ::close(fd);
        struct statvfs fs;
        ASSERT_EQ(::statvfs(root.c_str(), &fs), 0);
        ASSERT_GE(off_t(fs.f_bavail * fs.f_frsize), leave);
    }

    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root))
            names.insert(entry.path().filename().string());
        return names;
    }

    std::string root;

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

TEST_F(SmallDisk, SavingOntoAFullDiskKeepsTheOldFileAndSaysWhy)
{
    const std::string path = root + "/d.zpd";
    CRectaDoc doc;
    doc.OnNewDocument();
    for (int i = 0; i < 20; ++i)
        doc.AddRectaOnLayer(1, 0, "ZP", CPointd(i, 0), CPointd(i, 1));
    ASSERT_TRUE(doc.OnSaveDocument(path));
    const Bytes old = FileBytes(path);
    for (int i = 0; i < 100; ++i)
        doc.AddRectaOnLayer(1, 0, "ZP", CPointd(i, 2), CPointd(i, 3));

    for (off_t leave : {off_t(0), off_t(4096)}) {
        SCOPED_TRACE(leave);
        Fill(leave);
        doc.SetModifiedFlag();
        {
            ScriptedMessageBoxes boxes({IDOK});
            EXPECT_FALSE(doc.OnSaveDocument(path));
            ASSERT_EQ(boxes.asked.size(), 1u);
            EXPECT_NE(boxes.asked[0].find("No space left on device"), std::string::npos) << boxes.asked[0];
        }
        EXPECT_TRUE(doc.IsModified());
        EXPECT_EQ(FileBytes(path), old);
        {
            ScriptedMessageBoxes boxes({IDOK});
            EXPECT_FALSE(doc.OnSaveDocument(root + "/new.zpd"));
        }
        EXPECT_EQ(Files(), (std::set<std::string>{"d.zpd", "filler"})) << "nothing new is left behind";
        std::filesystem::remove(root + "/filler");
    }
}
