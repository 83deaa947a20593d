// Replacing a file: what the saved file was (its rights, owner, other names,
// the link that named it) stays as it was.
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

struct Folder {
    Folder() { fs::permissions(dir.path().toStdString(), fs::perms::all); }
    std::string operator()(const char* name) const { return dir.filePath(name).toStdString(); }
    std::size_t Count() const { return std::size_t(std::distance(fs::directory_iterator(dir.path().toStdString()), {})); }
    QTemporaryDir dir;
};

bool Replace(const std::string& path, const std::string& text, std::string& error)
{
    return ReplaceFile(path, std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()), error);
}

// Runs f as an ordinary user would when the process is the super-user (who
// may write any file): only the file-system identity changes, for this thread.
template <class F>
void AsOrdinaryUser(F f)
{
    const bool root = ::geteuid() == 0;
    if (root) {
        ::setfsgid(kOther);
        ::setfsuid(kOther);
        ASSERT_EQ(uid_t(::setfsuid(uid_t(-1))), kOther) << "no file-system identity of another user";
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

TEST(FileIo, AFileTheUserMayNotWriteIsNotReplaced)
{
    Folder dir;
    const std::string path = dir("d.zpd");
    std::ofstream(path) << "old";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::string error;
    AsOrdinaryUser([&] { EXPECT_FALSE(Replace(path, "new", error)); });
    EXPECT_EQ(error, "Permission denied");
    EXPECT_EQ(FileText(path), "old");
    EXPECT_EQ(dir.Count(), 1u);
}

TEST(FileIo, AReplacedFileKeepsItsOwnerLinksAndSymbolicLink)
{
    Folder dir;
    std::string error;
    // Other names see the new bytes.
    const std::string a = dir("a.zpd"), b = dir("b.zpd");
    std::ofstream(a) << "old";
    fs::create_hard_link(a, b);
    ASSERT_TRUE(Replace(a, "new", error)) << error;
    EXPECT_EQ(FileText(b), "new");
    EXPECT_EQ(Stat(a).st_ino, Stat(b).st_ino);

    // A link to a file that is not there yet stays, and the file is made.
    const std::string link = dir("l.zpd");
    fs::create_symlink("made.zpd", link);
    ASSERT_TRUE(Replace(link, "new", error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(FileText(dir("made.zpd")), "new");

    // Another user's file: the super-user gives the new one its owner; a user
    // who may write it but not give it writes into it.
    const std::string other = dir("o.zpd");
    std::ofstream(other) << "old";
    fs::permissions(other, fs::perms::all);
    if (::geteuid() == 0) {
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
    EXPECT_EQ(dir.Count(), 5u) << "no new file left behind";
}
