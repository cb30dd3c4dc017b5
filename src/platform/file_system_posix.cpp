#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

const char kPathSeparator = '/';

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

// The folder that holds `path`, as a path of its own.
std::string folderOf(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool openStream(const std::string& path, const char* mode, File* file, std::string* err) {
    file->reset(std::fopen(path.c_str(), mode));
    return *file != nullptr || fail(err);
}

} // namespace

void FileCloser::operator()(std::FILE* file) const {
    std::fclose(file);
}

bool openForReading(const std::string& path, File* file, std::string* err) {
    return openStream(path, "rb", file, err);
}

bool openForUpdate(const std::string& path, File* file, std::string* err) {
    return openStream(path, "r+b", file, err);
}

bool createNewFile(const std::string& path, std::FILE* like, File* file, std::string* err) {
    struct stat status {};
    if (::fstat(::fileno(like), &status) != 0) {
        return fail(err);
    }
    const mode_t permissions = status.st_mode & 07777;
    Descriptor descriptor(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions));
    if (descriptor.value < 0) {
        return fail(err);
    }
    // The mode given to open is narrowed by the umask; the copy gets all of it.
    if (::fchmod(descriptor.value, permissions) != 0) {
        return fail(err);
    }
    file->reset(::fdopen(descriptor.value, "wb"));
    if (*file == nullptr) {
        return fail(err);
    }
    descriptor.release();
    return true;
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

bool syncFile(std::FILE* file, std::string* err) {
    return (std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0) || fail(err);
}

bool tryLockFile(std::FILE* file, bool* locked, std::string* err) {
    *locked = ::flock(::fileno(file), LOCK_EX | LOCK_NB) == 0;
    return *locked || errno == EWOULDBLOCK || fail(err);
}

bool isRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool removeFile(const std::string& path, std::string* err) {
    return ::unlink(path.c_str()) == 0 || errno == ENOENT || fail(err);
}

bool replaceFile(const std::string& from, const std::string& to, std::string* err) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return fail(err);
    }
    // The new name lives in the folder: sync that too, or a power cut may
    // bring back the old file.
    const Descriptor folder(::open(folderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return (folder.value >= 0 && ::fsync(folder.value) == 0) || fail(err);
}
