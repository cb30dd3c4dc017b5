#include "platform/file_system.h"

#include <windows.h>

#include "platform/code_page_win32.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

const char kPathSeparator = '\\';
const char* const kPathSeparators = "\\/";

namespace {

bool failWith(DWORD code, std::string* err) {
    *err = windowsMessage(code);
    return false;
}

// After a failed call of the C runtime: the Windows error behind it when the
// runtime kept one, else the runtime's own text.
bool failFromRuntime(std::string* err) {
    if (_doserrno != 0) {
        return failWith(static_cast<DWORD>(_doserrno), err);
    }
    *err = std::strerror(errno);
    return false;
}

// The path as the wide-character file functions take it, whatever its
// length: made absolute (which also resolves "." and ".." and turns "/"
// into "\\"), then marked with "\\?\\", which lifts the limit of 260
// characters.
std::wstring systemPath(const std::string& path) {
    const std::wstring wide = toWide(path);
    if (wide.empty() || wide.rfind(L"\\\\?\\", 0) == 0 || wide.rfind(L"\\\\.\\", 0) == 0) {
        return wide;
    }
    const DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    const DWORD written = size > 0 ? GetFullPathNameW(wide.c_str(), size, &full[0], nullptr) : 0;
    if (written == 0 || written >= size) {
        return wide;
    }
    full.resize(written);
    // A network share, \\server\share\..., is named \\?\UNC\server\share\...
    return full.rfind(L"\\\\", 0) == 0 ? L"\\\\?\\UNC\\" + full.substr(2) : L"\\\\?\\" + full;
}

DWORD attributesOf(const std::string& path) {
    std::string ignored;
    if (!checkPath(path, &ignored)) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_FILE_ATTRIBUTES;
    }
    return GetFileAttributesW(systemPath(path).c_str());
}

void clearRuntimeError() {
    errno = 0;
    _doserrno = 0;
}

// Puts a stream on an open descriptor, which is closed when that fails.
bool streamOn(int descriptor, const char* mode, File* file, std::string* err) {
    file->reset(_fdopen(descriptor, mode));
    if (*file != nullptr) {
        return true;
    }
    const bool failed = failFromRuntime(err);
    _close(descriptor);
    return failed;
}

// Why Windows refused to open the file at `path` with `error`.
Refusal refusalOf(const std::string& path, DWORD error) {
    if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
        return Refusal::InUse;
    }
    const DWORD attributes = attributesOf(path);
    if (error == ERROR_ACCESS_DENIED && attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        return Refusal::ReadOnly;
    }
    return Refusal::Other;
}

// Opens an existing file with the access and the sharing given, as a stream.
bool openExisting(const std::string& path, DWORD access, DWORD sharing, File* file, Refusal* refusal,
                  std::string* err) {
    *refusal = Refusal::Other;
    if (!checkPath(path, err)) {
        return false;
    }
    const HANDLE handle =
        CreateFileW(systemPath(path).c_str(), access, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        *refusal = refusalOf(path, error);
        return failWith(error, err);
    }
    const bool writing = (access & GENERIC_WRITE) != 0;
    clearRuntimeError();
    const int descriptor =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), (writing ? _O_RDWR : _O_RDONLY) | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return failFromRuntime(err);
    }
    return streamOn(descriptor, writing ? "r+b" : "rb", file, err);
}

HANDLE handleOf(std::FILE* file) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
}

} // namespace

std::string folderOf(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    if (separator == std::string::npos) {
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    }
    // The root of a drive ("C:\\") or of the current one ("\\").
    const bool root = separator == 0 || (separator == 2 && path[1] == ':');
    return path.substr(0, root ? separator + 1 : separator);
}

std::string finalPath(const std::string& path) {
    // Only a link (a reparse point) leads elsewhere; any other path is
    // kept as it was given.
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) {
        return path;
    }
    const HANDLE handle =
        CreateFileW(systemPath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return path;
    }
    std::wstring final(GetFinalPathNameByHandleW(handle, nullptr, 0, FILE_NAME_NORMALIZED), L'\0');
    const DWORD length = final.empty() ? 0
                                       : GetFinalPathNameByHandleW(handle, &final[0], static_cast<DWORD>(final.size()),
                                                                   FILE_NAME_NORMALIZED);
    CloseHandle(handle);
    if (length == 0 || length >= final.size()) {
        return path;
    }
    final.resize(length);
    return fromWide(final);
}

void FileCloser::operator()(std::FILE* file) const {
    std::fclose(file);
}

bool openForReading(const std::string& path, File* file, std::string* err) {
    Refusal ignored = Refusal::Other;
    // Shared for deleting too: another name of the same file (a hard link)
    // can then still be removed while this one is open.
    return openExisting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, file, &ignored,
                        err);
}

bool openRegularFileForReading(const std::string& path, bool followLink, File* file, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return failWith(GetLastError(), err);
    }
    const DWORD refused =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | (followLink ? 0 : FILE_ATTRIBUTE_REPARSE_POINT);
    if ((attributes & refused) != 0) {
        *err = "Not a regular file";
        return false;
    }
    return openForReading(path, file, err);
}

bool openForLocking(const std::string& path, File* file, Refusal* refusal, std::string* err) {
    // The lock lies past the end of the file, so reading access is enough;
    // the sharing is that of every other open here.
    return openExisting(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, file, refusal, err);
}

bool fileStamp(const std::string& path, std::string* stamp, std::string* err) {
    File file;
    BY_HANDLE_FILE_INFORMATION information{};
    if (!openForReading(path, &file, err)) {
        return false;
    }
    if (GetFileInformationByHandle(handleOf(file.get()), &information) == 0) {
        return failWith(GetLastError(), err);
    }
    *stamp = std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
             std::to_string(information.nFileIndexLow) + " " + std::to_string(information.nFileSizeHigh) + ":" +
             std::to_string(information.nFileSizeLow) + " " +
             std::to_string(information.ftLastWriteTime.dwHighDateTime) + ":" +
             std::to_string(information.ftLastWriteTime.dwLowDateTime);
    return true;
}

bool isSameFile(std::FILE* first, std::FILE* second) {
    BY_HANDLE_FILE_INFORMATION one{};
    BY_HANDLE_FILE_INFORMATION other{};
    return GetFileInformationByHandle(handleOf(first), &one) != 0 &&
           GetFileInformationByHandle(handleOf(second), &other) != 0 &&
           one.dwVolumeSerialNumber == other.dwVolumeSerialNumber && one.nFileIndexHigh == other.nFileIndexHigh &&
           one.nFileIndexLow == other.nFileIndexLow;
}

bool openForUpdate(const std::string& path, File* file, Refusal* refusal, std::string* err) {
    // Only readers may share the file while it is written: our own lock's
    // handle reads, a running game that holds the file open does not let us in.
    return openExisting(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, file, refusal, err);
}

bool createNewFile(const std::string& path, std::FILE*, File* file, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    // CREATE_NEW fails on anything at the name, a link included.
    const HANDLE handle = CreateFileW(systemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return failWith(GetLastError(), err);
    }
    clearRuntimeError();
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return failFromRuntime(err);
    }
    return streamOn(descriptor, "wb", file, err);
}

bool openSoleFileForWriting(const std::string&, File*, std::string* err) {
    // Wine (and so Proton) shows a Unix link, and each name of a file with
    // several, as a plain file of one name: no open here can tell that it
    // would write through one. The caller makes a new file instead.
    *err = "Not supported";
    return false;
}

bool cutFile(std::FILE* file, std::int64_t size, std::string* err) {
    clearRuntimeError();
    return (std::fflush(file) == 0 && _chsize_s(_fileno(file), size) == 0) || failFromRuntime(err);
}

bool closeFile(File* file, std::string* err) {
    clearRuntimeError();
    return std::fclose(file->release()) == 0 || failFromRuntime(err);
}

bool readSome(std::FILE* file, char* buffer, std::size_t size, std::size_t* count, std::string* err) {
    clearRuntimeError();
    *count = std::fread(buffer, 1, size, file);
    return *count > 0 || std::ferror(file) == 0 || failFromRuntime(err);
}

bool writeAll(std::FILE* file, const char* data, std::size_t size, std::string* err) {
    clearRuntimeError();
    return std::fwrite(data, 1, size, file) == size || failFromRuntime(err);
}

bool readAt(std::FILE* file, std::int64_t position, char* buffer, std::size_t size, std::size_t* count,
            std::string* err) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(static_cast<std::uint64_t>(position) & 0xFFFFFFFFU);
    at.OffsetHigh = static_cast<DWORD>(static_cast<std::uint64_t>(position) >> 32U);
    DWORD read = 0;
    if (ReadFile(handleOf(file), buffer, static_cast<DWORD>(size), &read, &at) == 0 &&
        GetLastError() != ERROR_HANDLE_EOF) {
        return failWith(GetLastError(), err);
    }
    *count = read;
    return true;
}

bool fileSize(std::FILE* file, std::int64_t* size, std::string* err) {
    LARGE_INTEGER length{};
    if (GetFileSizeEx(handleOf(file), &length) == 0) {
        return failWith(GetLastError(), err);
    }
    *size = length.QuadPart;
    return true;
}

bool seekTo(std::FILE* file, std::int64_t position, std::string* err) {
    clearRuntimeError();
    return _fseeki64(file, position, SEEK_SET) == 0 || failFromRuntime(err);
}

bool copyInSystem(std::FILE*, std::FILE*, std::string*) {
    // Windows' copy functions work on names, open the source with sharing of
    // their own and copy its attributes: the caller's copy keeps the rules
    // of every other open here. Its large buffers move the data just as fast.
    return true;
}

bool syncFile(std::FILE* file, std::string* err) {
    clearRuntimeError();
    return (std::fflush(file) == 0 && _commit(_fileno(file)) == 0) || failFromRuntime(err);
}

bool tryLockFile(std::FILE* file, LockState* state, std::string* err) {
    // Windows locks are mandatory: a lock on the file's bytes would stop our
    // own reads. One byte far past any real end of file takes no data.
    OVERLAPPED position{};
    position.Offset = 0;
    position.OffsetHigh = 0x7FFFFFFF;
    if (LockFileEx(handleOf(file), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &position) != 0) {
        *state = LockState::Locked;
        return true;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_LOCK_VIOLATION) {
        *state = LockState::Held;
        return true;
    }
    if (error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_FUNCTION) {
        *state = LockState::NotSupported;
        return true;
    }
    return failWith(error, err);
}

Entry entryAt(const std::string& path, std::string* err) {
    const DWORD attributes = attributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return Entry::Missing;
        }
        failWith(error, err);
        return Entry::Unknown;
    }
    const DWORD other = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE | FILE_ATTRIBUTE_REPARSE_POINT;
    return (attributes & other) != 0 ? Entry::Other : Entry::RegularFile;
}

bool isRegularFile(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

bool removeFile(const std::string& path, std::string* err) {
    if (!checkPath(path, err)) {
        return false;
    }
    if (DeleteFileW(systemPath(path).c_str()) != 0) {
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || failWith(error, err);
}

bool makeFolder(const std::string& path, std::string* err) {
    return checkPath(path, err) && (CreateDirectoryW(systemPath(path).c_str(), nullptr) != 0 ||
                                    GetLastError() == ERROR_ALREADY_EXISTS || failWith(GetLastError(), err));
}

bool renameOver(const std::string& from, const std::string& to, std::string* err) {
    return checkPath(from, err) && checkPath(to, err) &&
           (MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(), MOVEFILE_REPLACE_EXISTING) != 0 ||
            failWith(GetLastError(), err));
}

bool replaceFile(const std::string& from, const std::string& to, std::string* note, std::string* err) {
    note->clear();
    if (!checkPath(from, err) || !checkPath(to, err)) {
        return false;
    }
    // The write-through move returns once the new name is on the disk.
    return MoveFileExW(systemPath(from).c_str(), systemPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0 ||
           failWith(GetLastError(), err);
}
