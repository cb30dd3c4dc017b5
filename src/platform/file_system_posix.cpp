#include "platform/file_system.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char kPathSeparator = '/';
const char* const kPathSeparators = "/";

namespace {

bool fail(std::string* err) {
    *err = std::strerror(errno);
    return false;
}

// A raw descriptor, closed when it goes.
struct Descriptor {
    explicit Descriptor(int descriptor) : value(descriptor) {}
    ~Descriptor() {
        if (value >= 0) {
            ::close(value);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int release() {
        const int released = value;
        value = -1;
        return released;
    }
    int value;
};

// Opens a stream on the file, close-on-exec ("e"): no program that the
// tool starts inherits it.
bool openStream(const std::string& path, const char* mode, File* file, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    file->reset(std::fopen(path.c_str(), (std::string(mode) + "e").c_str()));
    return *file != nullptr || fail(err);
}

// Run as root with a user's home (sudo -E), what the tool makes there is
// given to whoever owns what it replaces, else the folder it is made in,
// so that the user's own programs can still read and write it. Anyone
// else makes files that are theirs already.
bool takeOwner(const std::string& path, const std::string& model, std::string* err) {
    struct stat wanted {};
    struct stat status {};
    if (::geteuid() != 0) {
        return true;
    }
    if (::stat(model.c_str(), &wanted) != 0 && (errno != ENOENT || ::stat(folderOf(model).c_str(), &wanted) != 0)) {
        return fail(err);
    }
    if (::lstat(path.c_str(), &status) != 0) {
        return fail(err);
    }
    if ((status.st_uid != wanted.st_uid || status.st_gid != wanted.st_gid) &&
        ::lchown(path.c_str(), wanted.st_uid, wanted.st_gid) != 0) {
        *err = std::string("could not give it the owner of ") + model + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

// Puts a stream on the descriptor, which the stream then owns.
bool streamOn(Descriptor* descriptor, const char* mode, File* file, std::string* err) {
    file->reset(::fdopen(descriptor->value, mode));
    if (*file == nullptr) {
        return fail(err);
    }
    descriptor->release();
    return true;
}

// A running program's file cannot be written here (ETXTBSY).
Refusal refusalOf(int error) {
    return error == ETXTBSY ? Refusal::InUse : Refusal::Other;
}

// The errors of a file system that does not have the feature at all, as
// opposed to one that failed at it.
bool isUnsupported(int error) {
    return error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP || error == EINVAL;
}

// The errors of a copy call that the file system, or the pair of files,
// does not offer at all (FUSE, exFAT, NFS, two file systems): nothing was
// copied by that call, and the plain copy will do.
bool isCopyRefused(int error) {
    return isUnsupported(error) || error == EXDEV || error == EBADF || error == ENOTTY;
}

// At most this much per call, so that a call ends in good time.
constexpr std::size_t kKernelCopyChunk = std::size_t{1} << 30;

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string finalPath(const std::string& path) {
    std::string ignored;
    if (!checkPath(path, &ignored)) {
        return path;
    }
    const std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
    return resolved != nullptr ? std::string(resolved.get()) : path;
}

void FileCloser::operator()(std::FILE* file) const {
    std::fclose(file);
}

bool openForReading(const std::string& path, File* file, std::string* err) {
    return openStream(path, "rb", file, err);
}

bool openForUpdate(const std::string& path, File* file, Refusal* refusal, std::string* err) {
    *refusal = Refusal::Other;
    // Checked here, so that the refusal below comes from the open itself.
    if (!checkPath(path, err)) {
        return false;
    }
    if (openStream(path, "r+b", file, err)) {
        return true;
    }
    *refusal = refusalOf(errno);
    return false;
}

bool openRegularFileForReading(const std::string& path, bool followLink, File* file, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    // Non-blocking, so that opening a pipe does not wait for a writer.
    Descriptor descriptor(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW)));
    struct stat status {};
    if (descriptor.value < 0 && errno == ELOOP && !followLink && ::lstat(path.c_str(), &status) == 0 &&
        S_ISLNK(status.st_mode)) {
        *err = "Is a symbolic link";
        return false;
    }
    if (descriptor.value < 0 || ::fstat(descriptor.value, &status) != 0) {
        return fail(err);
    }
    if (!S_ISREG(status.st_mode)) {
        *err = S_ISDIR(status.st_mode) ? std::strerror(EISDIR) : "Not a regular file";
        return false;
    }
    // Reads of a regular file never wait; the flag only kept open() from it.
    const int flags = ::fcntl(descriptor.value, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor.value, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return fail(err);
    }
    return streamOn(&descriptor, "rb", file, err);
}

bool openForLocking(const std::string& path, File* file, Refusal* refusal, std::string* err) {
    *refusal = Refusal::Other;
    if (!checkPath(path, err)) {
        return false;
    }
    Descriptor descriptor(::open(path.c_str(), O_RDWR | O_CLOEXEC));
    if (descriptor.value < 0 && (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)) {
        return openForReading(path, file, err);
    }
    if (descriptor.value < 0) {
        *refusal = refusalOf(errno);
        return fail(err);
    }
    return streamOn(&descriptor, "r+b", file, err);
}

bool isSameFile(std::FILE* first, std::FILE* second) {
    struct stat one {};
    struct stat other {};
    return ::fstat(::fileno(first), &one) == 0 && ::fstat(::fileno(second), &other) == 0 &&
           one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

bool fileStamp(const std::string& path, std::string* stamp, std::string* err) {
    struct stat status {};
    if (!checkPath(path, err)) {
        return false;
    }
    if (::stat(path.c_str(), &status) != 0) {
        return fail(err);
    }
    *stamp = std::to_string(status.st_dev) + ":" + std::to_string(status.st_ino) + " " +
             std::to_string(status.st_size) + " " + std::to_string(status.st_mtim.tv_sec) + "." +
             std::to_string(status.st_mtim.tv_nsec) + " " + std::to_string(status.st_ctim.tv_sec) + "." +
             std::to_string(status.st_ctim.tv_nsec);
    return true;
}

bool createNewFile(const std::string& path, std::FILE* like, File* file, std::string* err) {
    struct stat status {};
    if (!checkPath(path, err)) {
        return false;
    }
    if (like != nullptr && ::fstat(::fileno(like), &status) != 0) {
        return fail(err);
    }
    const mode_t permissions = like != nullptr ? status.st_mode & 07777 : 0666;
    Descriptor descriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions));
    if (descriptor.value < 0) {
        return fail(err);
    }
    if (like == nullptr && !takeOwner(path, folderOf(path), err)) {
        ::unlink(path.c_str());
        return false;
    }
    // The mode given to open is narrowed by the umask; the copy gets all of
    // it where the file system keeps permission bits at all (FAT and exFAT
    // refuse, as cp -p warns there and goes on).
    if (like != nullptr && ::fchmod(descriptor.value, permissions) != 0 && errno != EPERM && !isUnsupported(errno)) {
        return fail(err);
    }
    return streamOn(&descriptor, "wb", file, err);
}

bool openSoleFileForWriting(const std::string& path, File* file, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    // Non-blocking, so that opening a pipe does not wait for a reader.
    Descriptor descriptor(::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (descriptor.value < 0 || ::fstat(descriptor.value, &status) != 0) {
        return fail(err);
    }
    if (!S_ISREG(status.st_mode) || status.st_nlink != 1) {
        *err = S_ISREG(status.st_mode) ? "The file has another name" : "Not a regular file";
        return false;
    }
    const int flags = ::fcntl(descriptor.value, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor.value, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        return fail(err);
    }
    return streamOn(&descriptor, "wb", file, err);
}

bool cutFile(std::FILE* file, std::int64_t size, std::string* err) {
    return (std::fflush(file) == 0 && ::ftruncate(::fileno(file), static_cast<off_t>(size)) == 0) || fail(err);
}

bool closeFile(File* file, std::string* err) {
    return std::fclose(file->release()) == 0 || fail(err);
}

bool readSome(std::FILE* file, char* buffer, std::size_t size, std::size_t* count, std::string* err) {
    *count = std::fread(buffer, 1, size, file);
    return *count > 0 || std::ferror(file) == 0 || fail(err);
}

bool writeAll(std::FILE* file, const char* data, std::size_t size, std::string* err) {
    return std::fwrite(data, 1, size, file) == size || fail(err);
}

bool readAt(std::FILE* file, std::int64_t position, char* buffer, std::size_t size, std::size_t* count,
            std::string* err) {
    const ssize_t read = ::pread(::fileno(file), buffer, size, static_cast<off_t>(position));
    if (read < 0) {
        return fail(err);
    }
    *count = static_cast<std::size_t>(read);
    return true;
}

bool fileSize(std::FILE* file, std::int64_t* size, std::string* err) {
    struct stat status {};
    if (::fstat(::fileno(file), &status) != 0) {
        return fail(err);
    }
    *size = status.st_size;
    return true;
}

bool seekTo(std::FILE* file, std::int64_t position, std::string* err) {
    return ::fseeko(file, static_cast<off_t>(position), SEEK_SET) == 0 || fail(err);
}

bool copyInSystem(std::FILE* source, std::FILE* target, std::string* err) {
    const int in = ::fileno(source);
    const int out = ::fileno(target);
    if (::ioctl(out, FICLONE, in) == 0) {
        // The clone holds all of it: nothing is left for the caller.
        return ::lseek(in, 0, SEEK_END) >= 0 || fail(err);
    }
    if (!isCopyRefused(errno)) {
        return fail(err);
    }
    for (;;) {
        const ssize_t copied = ::copy_file_range(in, nullptr, out, nullptr, kKernelCopyChunk, 0);
        if (copied == 0 || (copied < 0 && isCopyRefused(errno))) {
            return true;
        }
        if (copied < 0) {
            return fail(err);
        }
    }
}

bool syncFile(std::FILE* file, std::string* err) {
    return (std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0) || fail(err);
}

bool tryLockFile(std::FILE* file, LockState* state, std::string* err) {
    if (::flock(::fileno(file), LOCK_EX | LOCK_NB) == 0) {
        *state = LockState::Locked;
        return true;
    }
    if (errno == EWOULDBLOCK) {
        *state = LockState::Held;
        return true;
    }
    if (errno == ENOLCK || isUnsupported(errno)) {
        *state = LockState::NotSupported;
        return true;
    }
    return fail(err);
}

Entry entryAt(const std::string& path, std::string* err) {
    struct stat status {};
    if (!checkPath(path, err)) {
        return Entry::Unknown;
    }
    if (::lstat(path.c_str(), &status) != 0) {
        return errno == ENOENT || errno == ENOTDIR ? Entry::Missing : (fail(err), Entry::Unknown);
    }
    return S_ISREG(status.st_mode) ? Entry::RegularFile : Entry::Other;
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    std::string ignored;
    return checkPath(path, &ignored) && ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool removeFile(const std::string& path, std::string* err) {
    return checkPath(path, err) && (::unlink(path.c_str()) == 0 || errno == ENOENT || fail(err));
}

bool makeFolder(const std::string& path, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    if (::mkdir(path.c_str(), 0777) != 0) {
        return errno == EEXIST || fail(err);
    }
    return takeOwner(path, folderOf(path), err);
}

bool renameOver(const std::string& from, const std::string& to, std::string* err) {
    return checkPath(from, err) && checkPath(to, err) && takeOwner(from, to, err) &&
           (std::rename(from.c_str(), to.c_str()) == 0 || fail(err));
}

bool replaceFile(const std::string& from, const std::string& to, std::string* note, std::string* err) {
    note->clear();
    if (!checkPath(from, err) || !checkPath(to, err)) {
        return false;
    }
    // The new name lives in the folder: sync that too, or a power cut may
    // bring back the old file. The folder is opened first, so that nothing
    // can fail between the move and its sync but the sync itself; a folder
    // the user may not open (mode 0300) is moved in without it.
    const Descriptor folder(::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!takeOwner(from, to, err)) {
        return false;
    }
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return fail(err);
    }
    // From here on the old file is gone: this is a success whatever follows.
    if (folder.value >= 0 && ::fsync(folder.value) != 0 && !isUnsupported(errno)) {
        *note = std::strerror(errno);
    }
    return true;
}
