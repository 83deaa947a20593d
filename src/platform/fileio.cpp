#include "platform/fileio.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

WriteCall& WriteFn()
{
    static WriteCall call = ::write;
    return call;
}

// The system's words for an error, the same in every locale.
std::string Reason(int err)
{
    const char* text = ::strerrordesc_np(err);
    return text ? text : "error " + std::to_string(err);
}

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return m_fd; }
    // Closes now; the error of the close, or 0.
    int Close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

private:
    int m_fd;
};

// Writes all of data; 0 or the error.
int WriteAll(int fd, std::span<const BYTE> data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = WriteFn()(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += std::size_t(n);
    }
    return 0;
}

// The permissions a new file gets from the process's creation mask.
mode_t NewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Follows path through every symbolic link to the file it names, which need
// not exist yet; 0 or the error.
int FollowLinks(std::string& path)
{
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st;
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return 0;
        std::error_code ec;
        const std::filesystem::path link = std::filesystem::read_symlink(path, ec);
        if (ec)
            return ec.value();
        path = link.is_absolute() ? link.string() : (std::filesystem::path(path).parent_path() / link).string();
    }
    return ELOOP;
}

// Writes data over the open file from its start and cuts it there; 0 or the error.
int WriteInPlace(int fd, std::span<const BYTE> data)
{
    if (::lseek(fd, 0, SEEK_SET) != 0)
        return errno;
    if (const int err = WriteAll(fd, data))
        return err;
    if (::ftruncate(fd, off_t(data.size())) != 0 || ::fsync(fd) != 0)
        return errno;
    return 0;
}

// Secures the disk room for size bytes in the open file without changing a
// byte or its length; 0 or the error. Where the file system cannot reserve,
// its free room must cover what the file would grow by.
int ReserveRoom(int fd, std::size_t size)
{
    if (size == 0 || ::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, off_t(size)) == 0)
        return 0;
    if (errno != EOPNOTSUPP && errno != ENOSYS)
        return errno;
    struct stat st;
    struct statvfs fs;
    if (::fstat(fd, &st) != 0 || ::fstatvfs(fd, &fs) != 0)
        return errno;
    const std::uintmax_t held = std::uintmax_t(st.st_blocks) * 512u;
    const std::uintmax_t free = std::uintmax_t(fs.f_bavail) * fs.f_frsize;
    return size <= held || size - held <= free ? 0 : ENOSPC;
}

// Why a node that is not a regular file cannot be saved over, naming what it is.
std::string NotAFile(mode_t mode)
{
    const char* kind = S_ISDIR(mode)    ? "a folder"
                       : S_ISFIFO(mode) ? "a named pipe"
                       : S_ISCHR(mode)  ? "a character device"
                       : S_ISBLK(mode)  ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : nullptr;
    return kind ? std::string("it is ") + kind + ", not a regular file" : "it is not a regular file";
}

// Writes the new bytes, kept in temp, over the file open as fd, which holds
// old (or could not be read when readOld is false). Nothing of the file
// changes until room for all of them is secured; a write that fails after
// that puts the old bytes back. False, with error saying where the new bytes
// are, when the file does not hold them.
bool WriteOverFile(int fd, std::span<const BYTE> data, std::span<const BYTE> old, bool readOld,
                   const std::string& temp, std::string& error)
{
    std::string state = "; the file was left as it was";
    int err = ReserveRoom(fd, data.size());
    if (!err) {
        if ((err = WriteInPlace(fd, data)) == 0)
            return true;
        if (!readOld)
            state = "; the file is damaged";
        else if (const int back = WriteInPlace(fd, old))
            state = "; the file is damaged (" + Reason(back) + ")";
    }
    // The room taken past the file's end is given back: cutting a file at
    // its own length frees what lies beyond.
    struct stat st;
    if (::fstat(fd, &st) == 0)
        ::ftruncate(fd, st.st_size);
    error = Reason(err) + state + "; the new contents are kept in " + temp;
    return false;
}

}  // namespace

bool ReadRegularFile(const std::string& path, std::size_t maxSize, std::vector<BYTE>& bytes, std::string& error)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        error = Reason(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = NotAFile(st.st_mode);
        return false;
    }
    // Not blocking, in case a pipe took the file's place since the check.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0 || ::fstat(fd.Get(), &st) != 0) {
        error = Reason(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        error = NotAFile(st.st_mode);
        return false;
    }
    if (std::uintmax_t(st.st_size) > maxSize) {
        error = "the file is too large";
        return false;
    }
    bytes.resize(std::size_t(st.st_size));
    std::size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd.Get(), bytes.data() + got, bytes.size() - got);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Reason(errno);
            return false;
        }
        if (n == 0)
            break;
        got += std::size_t(n);
    }
    bytes.resize(got);
    return true;
}

bool ReplaceFile(const std::string& path, std::size_t maxSize, std::span<const BYTE> data, std::string& error)
{
    return ReplaceFileWith(path, maxSize, [&](const ByteSink& put) { put(data); }, error);
}

bool ReplaceFileWith(const std::string& path, std::size_t maxSize,
                     const std::function<void(const ByteSink&)>& produce, std::string& error)
{
    std::string target = path;
    if (const int err = FollowLinks(target)) {
        error = Reason(err);
        return false;
    }
    struct stat old;
    const bool exists = ::stat(target.c_str(), &old) == 0;
    const bool regular = exists && S_ISREG(old.st_mode);
    // A device, a pipe or a folder is never replaced by a file.
    if (exists && !regular) {
        error = NotAFile(old.st_mode);
        return false;
    }
    // Saving onto a file needs the right to write it, not only its folder's.
    Descriptor oldFd(regular ? ::open(target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC) : -1);
    if (regular && oldFd.Get() < 0) {
        error = Reason(errno);
        return false;
    }

    std::string temp = target + ".XXXXXX";
    Descriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.Get() < 0) {
        error = Reason(errno);
        return false;
    }
    // The old owner and group where the process may give them; the mode after
    // them, as a change of owner clears the set-id bits.
    bool owned = true;
    struct stat made;
    int err = ::fstat(fd.Get(), &made) == 0 ? 0 : errno;
    if (!err && exists && (made.st_uid != old.st_uid || made.st_gid != old.st_gid))
        owned = ::fchown(fd.Get(), old.st_uid, old.st_gid) == 0;
    if (!err && ::fchmod(fd.Get(), exists ? old.st_mode & 07777 : NewFileMode()) != 0)
        err = errno;
    // Thrown through produce to stop it once the bytes pass maxSize.
    struct TooLarge {};
    std::size_t size = 0;
    try {
        if (!err)
            produce([&](std::span<const BYTE> piece) {
                if (piece.size() > maxSize - size)
                    throw TooLarge{};
                if (!err)
                    err = WriteAll(fd.Get(), piece);
                size += piece.size();
            });
    } catch (const TooLarge&) {
        fd.Close();
        ::unlink(temp.c_str());
        error = "the file would be larger than " + std::to_string(maxSize) +
                " bytes, more than this program reads; nothing was written";
        return false;
    } catch (...) {
        fd.Close();
        ::unlink(temp.c_str());
        throw;
    }
    if (!err && ::fsync(fd.Get()) != 0)
        err = errno;
    if (const int closeErr = fd.Close(); !err)
        err = closeErr;
    if (err) {
        ::unlink(temp.c_str());
        error = Reason(err);
        return false;
    }
    // A file with other names, or one whose owner the new file cannot take, is
    // written in place now that the new bytes are safe beside it.
    if (regular && (old.st_nlink > 1 || !owned)) {
        std::vector<BYTE> data;  // the new bytes, read back from beside the file
        std::string readError;
        if (!ReadRegularFile(temp, size, data, readError)) {
            error = readError + "; the new contents are kept in " + temp;
            return false;
        }
        // The old bytes, to put back should the write fail half way.
        std::vector<BYTE> oldData;
        const bool readOld = ReadRegularFile(target, std::size_t(old.st_size), oldData, readError);
        if (!WriteOverFile(oldFd.Get(), data, oldData, readOld, temp, error))
            return false;
        ::unlink(temp.c_str());
        return true;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = Reason(errno);
        ::unlink(temp.c_str());
        return false;
    }
    // The new name itself reaches the disk with its directory.
    const std::string dir = std::filesystem::path(target).parent_path().string();
    Descriptor dirFd(::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.Get() >= 0)
        ::fsync(dirFd.Get());
    return true;
}

WriteCall SetWriteCall(WriteCall call)
{
    const WriteCall previous = WriteFn();
    WriteFn() = call ? call : ::write;
    return previous;
}
