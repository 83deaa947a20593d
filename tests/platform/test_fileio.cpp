// Saving over a file: its rights, owner, other names and the link that named
// it stay as they were.
#include "platform/fileio.h"
#include "support/files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr uid_t kOther = 65534;

bool Replace(const std::string& path, const std::string& text, std::string& error)
{
    return ReplaceFile(path, std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()), error);
}

// Runs f with the rights of an ordinary user: the super-user, who may write
// any file, changes only this thread's file-system identity meanwhile.
template <class F>
void AsOrdinaryUser(F f)
{
    const bool root = ::geteuid() == 0;
    if (root) {
        ::setfsgid(kOther);
        ::setfsuid(kOther);
        ASSERT_EQ(uid_t(::setfsuid(uid_t(-1))), kOther);
    }
    f();
    if (root) {
        ::setfsuid(0);
        ::setfsgid(0);
    }
}

struct stat Stat(const std::string& path)
{
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

}  // namespace

TEST(FileIo, SavingOverAFileKeepsWhatItIs)
{
    QTemporaryDir dir;
    fs::permissions(dir.path().toStdString(), fs::perms::all);
    auto file = [&](const char* name) { return dir.filePath(name).toStdString(); };
    std::string error;

    // A file the user may not write, in a folder he may.
    const std::string locked = file("r.zpd");
    std::ofstream(locked) << "old";
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    AsOrdinaryUser([&] { EXPECT_FALSE(Replace(locked, "new", error)); });
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(FileText(locked), "old");

    // Other names see the new bytes.
    const std::string a = file("a.zpd"), b = file("b.zpd");
    std::ofstream(a) << "old";
    fs::create_hard_link(a, b);
    ASSERT_TRUE(Replace(a, "new", error)) << error;
    EXPECT_EQ(FileText(b), "new");
    EXPECT_EQ(Stat(a).st_ino, Stat(b).st_ino);

    // A link to a file that is not there yet stays, and the file is made.
    fs::create_symlink("made.zpd", file("l.zpd"));
    ASSERT_TRUE(Replace(file("l.zpd"), "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(file("l.zpd")));
    EXPECT_EQ(FileText(file("made.zpd")), "new");

    // Another user's file: the super-user gives the new one its owner; a user
    // who may write it but not give it writes into it.
    if (::geteuid() == 0) {
        const std::string other = file("o.zpd");
        std::ofstream(other) << "old";
        fs::permissions(other, fs::perms::all);
        ASSERT_EQ(::chown(other.c_str(), kOther, kOther), 0);
        ASSERT_TRUE(Replace(other, "new", error)) << error;
        EXPECT_EQ(Stat(other).st_uid, kOther);
        EXPECT_EQ(Stat(other).st_gid, gid_t(kOther));
        ASSERT_EQ(::chown(other.c_str(), 0, 0), 0);
        const ino_t inode = Stat(other).st_ino;
        AsOrdinaryUser([&] { EXPECT_TRUE(Replace(other, "newer", error)) << error; });
        EXPECT_EQ(FileText(other), "newer");
        EXPECT_EQ(Stat(other).st_uid, 0u);
        EXPECT_EQ(Stat(other).st_ino, inode);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), {}), ::geteuid() == 0 ? 6 : 5)
        << "no new file left behind";
}

TEST(FileIo, ReadingStopsAtTheLimit)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("f.zpd").toStdString();
    std::ofstream(path) << "abc";
    std::vector<BYTE> bytes;
    std::string error;
    EXPECT_TRUE(ReadRegularFile(path, 3, bytes, error)) << error;
    EXPECT_EQ(bytes, (std::vector<BYTE>{'a', 'b', 'c'}));
    EXPECT_FALSE(ReadRegularFile(path, 2, bytes, error));
    EXPECT_EQ(error, "the file is too large");
}
