// Saving over a file: its rights, owner, other names and the link that named
// it stay as they were.
#include "platform/fileio.h"
#include "support/files.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>

#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr uid_t kOther = 65534;

bool Replace(const std::string& path, const std::string& text, std::string& error)
{
    return ReplaceFile(path, kMaxFileBytes, std::span(reinterpret_cast<const BYTE*>(text.data()), text.size()),
                       error);
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

// A file past the size its reader takes is never put in place: what makes
// it stops there; an exception of its own leaves nothing behind either.
TEST(FileIo, AFilePastItsLimitReplacesNothing)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("f.zpd").toStdString();
    std::ofstream(path) << "old";
    int given = 0;
    auto pieces = [&given](const ByteSink& put) {
        for (given = 0; given < 4; ++given)
            put(std::vector<BYTE>(4, 'n'));
    };
    std::string error;
    EXPECT_FALSE(ReplaceFileWith(path, 15, pieces, error));
    EXPECT_EQ(given, 3);
    EXPECT_EQ(error, "the file would be larger than 15 bytes, more than this program reads; nothing was written");
    auto failing = [](const ByteSink& put) {
        put({});
        throw std::runtime_error("no more");
    };
    EXPECT_THROW(ReplaceFileWith(path, 100, failing, error), std::runtime_error);
    EXPECT_EQ(FileText(path), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path().toStdString()), {}), 1) << "no new file left behind";
    EXPECT_TRUE(ReplaceFileWith(path, 16, pieces, error)) << error;
    EXPECT_EQ(FileText(path), std::string(16, 'n'));
}

// ---------------------------------------------------------------- what is at the path

TEST(FileIo, OnlyARegularFileIsSavedOver)
{
    QTemporaryDir dir;
    const std::string base = dir.path().toStdString();
    struct Row {
        const char* name;
        std::function<bool(const std::string&)> make;  // false: the system will not make one here
        const char* said;
    };
    const Row rows[] = {
        {"pipe", [](const std::string& p) { return ::mkfifo(p.c_str(), 0666) == 0; }, "a named pipe"},
        {"folder", [](const std::string& p) { return fs::create_directory(p); }, "a folder"},
        {"device", [](const std::string& p) { return ::mknod(p.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; },
         "a character device"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::string node = base + "/" + row.name;
        if (!row.make(node))
            continue;
        const mode_t kind = Stat(node).st_mode & S_IFMT;
        // Named directly and through a link, as Save As may name it.
        const std::string link = node + ".zpd";
        fs::create_symlink(row.name, link);
        for (const std::string& path : {node, link}) {
            std::string error;
            EXPECT_FALSE(Replace(path, "new", error));
            EXPECT_EQ(error, std::string("it is ") + row.said + ", not a regular file");
        }
        EXPECT_EQ(Stat(node).st_mode & S_IFMT, kind);
        EXPECT_TRUE(fs::is_symlink(link));
    }
    for (const auto& entry : fs::directory_iterator(base))
        EXPECT_EQ(entry.path().string().find(".zpd."), std::string::npos) << "left behind: " << entry.path();
}

// ---------------------------------------------------------------- writing in place on a full disk

namespace {

// A stand-in for ::write that fails the write into one file past a number of
// bytes: a short write up to them, then an error, then (once) writes again or
// (for good) fails every write into that file.
struct FailingWrite {
    static inline ino_t file = 0;
    static inline std::size_t allowed = 0;
    static inline bool once = true;
    static inline int failures = 0;

    static ssize_t Call(int fd, const void* data, std::size_t size)
    {
        struct stat st {};
        ::fstat(fd, &st);
        const std::size_t at = std::size_t(::lseek(fd, 0, SEEK_CUR));
        const bool failing = failures > 0 ? !once : at + size > allowed;
        if (st.st_ino != file || !failing)
            return ::write(fd, data, size);
        if (failures == 0 && at < allowed)
            return ::write(fd, data, allowed - at);
        ++failures;
        errno = EIO;
        return -1;
    }
};

// Where the message says the new contents are.
std::string KeptIn(const std::string& error)
{
    const std::string mark = "the new contents are kept in ";
    const std::size_t at = error.find(mark);
    return at == std::string::npos ? std::string() : error.substr(at + mark.size());
}

}  // namespace

TEST(FileIo, AWriteFailingHalfWayPutsTheOldBytesBack)
{
    QTemporaryDir dir;
    const std::string a = dir.filePath("a.zpd").toStdString(), b = dir.filePath("b.zpd").toStdString();
    const std::string old(5000, 'o'), fresh(40000, 'n');
    for (bool once : {true, false}) {
        SCOPED_TRACE(once ? "fails once" : "fails for good");
        std::ofstream(a, std::ios::trunc) << old;
        fs::remove(b);
        fs::create_hard_link(a, b);  // written in place
        FailingWrite::file = Stat(a).st_ino;
        FailingWrite::allowed = 16384;
        FailingWrite::once = once;
        FailingWrite::failures = 0;
        std::string error;
        const WriteCall before = SetWriteCall(FailingWrite::Call);
        const bool saved = Replace(a, fresh, error);
        SetWriteCall(before);
        EXPECT_FALSE(saved);
        EXPECT_GT(FailingWrite::failures, 0);
        EXPECT_TRUE(FileText(KeptIn(error)) == fresh) << error;
        if (once) {
            EXPECT_EQ(error.find("Input/output error; the file was left as it was;"), 0u) << error;
            EXPECT_TRUE(FileText(a) == old);
        } else {
            EXPECT_EQ(error.find("Input/output error; the file is damaged (Input/output error);"), 0u) << error;
        }
        EXPECT_EQ(Stat(a).st_ino, Stat(b).st_ino);
        const struct stat st = Stat(a);
        EXPECT_LE(st.st_blocks * 512, (st.st_size + 4095) / 4096 * 4096) << "the room taken beyond its end is given back";
        fs::remove(KeptIn(error));
    }
}

TEST(FileIo, NothingIsWrittenInPlaceWithoutRoomForAllOfIt)
{
    // A small file system of this test's own, in a mount namespace of its own.
    QTemporaryDir dir;
    const std::string root = dir.path().toStdString();
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
        ::mount("tmpfs", root.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "no small file system can be mounted here: " << std::strerror(errno);
    const std::string a = root + "/a.zpd", b = root + "/b.zpd";
    const std::string old(4096, 'o'), fresh(40960, 'n');  // 16 pages: 1 old, 10 beside it, 9 more to grow
    std::ofstream(a) << old;
    fs::create_hard_link(a, b);
    std::string error;
    EXPECT_FALSE(Replace(a, fresh, error));
    EXPECT_TRUE(FileText(a) == old);
    EXPECT_TRUE(FileText(b) == old);
    EXPECT_EQ(error.find("No space left on device; the file was left as it was;"), 0u) << error;
    EXPECT_TRUE(FileText(KeptIn(error)) == fresh) << error;

    // With the new bytes' room freed the save goes through.
    fs::remove(KeptIn(error));
    EXPECT_TRUE(Replace(a, std::string(20480, 'n'), error)) << error;
    EXPECT_TRUE(FileText(b) == std::string(20480, 'n'));
    ::umount2(root.c_str(), MNT_DETACH);
}
