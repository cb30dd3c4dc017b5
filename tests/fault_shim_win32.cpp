// The counting shim behind fault_shim_win32.h. Set by the environment:
//   GORV_FAULT_LOG=FILE   each shimmed call appends its name to FILE;
//   GORV_FAULT=N:CODE     the Nth call fails with the Windows error CODE
//                         (its message is logged), or with CODE "kill"
//                         the process ends there, as if it were killed;
//   GORV_FAULT_JOB=CODE   every AssignProcessToJobObject fails with CODE.
#include <windows.h>

#include <io.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Fault {
    long at = 0; // the call to fail, from 1; 0: none
    bool kill = false;
    DWORD error = 0;
};

const Fault& fault() {
    static const Fault chosen = [] {
        Fault parsed;
        const char* const text = std::getenv("GORV_FAULT");
        if (text != nullptr) {
            char* rest = nullptr;
            parsed.at = std::strtol(text, &rest, 10);
            if (*rest == ':') {
                parsed.kill = std::strcmp(rest + 1, "kill") == 0;
                parsed.error = static_cast<DWORD>(std::strtoul(rest + 1, nullptr, 10));
            }
        }
        return parsed;
    }();
    return chosen;
}

void log(const std::string& line) {
    const char* const path = std::getenv("GORV_FAULT_LOG");
    if (path == nullptr) {
        return;
    }
    std::FILE* const file = std::fopen(path, "ab");
    if (file != nullptr) {
        std::fputs((line + "\n").c_str(), file);
        std::fclose(file);
    }
}

std::string messageOf(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 ? std::string(text, length) : "";
    LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    return message;
}

// Counts the call; true when it is the one to fail, with the error set as
// Windows and the C runtime would set it.
bool failsNow(const char* name) {
    static long calls = 0;
    ++calls;
    log(name);
    if (calls != fault().at) {
        return false;
    }
    if (fault().kill) {
        TerminateProcess(GetCurrentProcess(), 137);
    }
    log(std::string("injected ") + name + ": " + messageOf(fault().error));
    SetLastError(fault().error);
    _doserrno = static_cast<unsigned long>(fault().error);
    errno = fault().error == ERROR_DISK_FULL ? ENOSPC : EIO;
    return true;
}

std::FILE* withError(std::FILE* file) {
    file->_flag |= _IOERR;
    return file;
}

} // namespace

HANDLE WINAPI shimCreateFileW(LPCWSTR name, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile) {
    return failsNow("CreateFileW") ? INVALID_HANDLE_VALUE
                                   : CreateFileW(name, access, sharing, security, disposition, flags, templateFile);
}

DWORD WINAPI shimGetFileAttributesW(LPCWSTR name) {
    return failsNow("GetFileAttributesW") ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(name);
}

BOOL WINAPI shimDeleteFileW(LPCWSTR name) {
    return failsNow("DeleteFileW") ? FALSE : DeleteFileW(name);
}

BOOL WINAPI shimMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    return failsNow("MoveFileExW") ? FALSE : MoveFileExW(from, to, flags);
}

BOOL WINAPI shimLockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED position) {
    return failsNow("LockFileEx") ? FALSE : LockFileEx(file, flags, reserved, low, high, position);
}

BOOL WINAPI shimGetFileSizeEx(HANDLE file, PLARGE_INTEGER size) {
    return failsNow("GetFileSizeEx") ? FALSE : GetFileSizeEx(file, size);
}

BOOL WINAPI shimGetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information) {
    return failsNow("GetFileInformationByHandle") ? FALSE : GetFileInformationByHandle(file, information);
}

std::size_t shimFread(void* buffer, std::size_t size, std::size_t count, std::FILE* file) {
    return failsNow("fread") ? (withError(file), 0) : std::fread(buffer, size, count, file);
}

std::size_t shimFwrite(const void* data, std::size_t size, std::size_t count, std::FILE* file) {
    return failsNow("fwrite") ? (withError(file), 0) : std::fwrite(data, size, count, file);
}

int shimFflush(std::FILE* file) {
    return failsNow("fflush") ? (withError(file), EOF) : std::fflush(file);
}

int shimFclose(std::FILE* file) {
    // A close that fails still lets the file go, as the runtime's does.
    const bool fails = failsNow("fclose");
    const int closed = std::fclose(file);
    return fails ? EOF : closed;
}

int shimCommit(int descriptor) {
    return failsNow("_commit") ? -1 : _commit(descriptor);
}

int shimFseeki64(std::FILE* file, long long position, int origin) {
    return failsNow("_fseeki64") ? -1 : _fseeki64(file, position, origin);
}

int shimOpenOsfhandle(std::intptr_t handle, int flags) {
    return failsNow("_open_osfhandle") ? -1 : _open_osfhandle(handle, flags);
}

std::FILE* shimFdopen(int descriptor, const char* mode) {
    return failsNow("_fdopen") ? nullptr : _fdopen(descriptor, mode);
}

BOOL WINAPI shimAssignProcessToJobObject(HANDLE job, HANDLE process) {
    const char* const code = std::getenv("GORV_FAULT_JOB");
    if (code != nullptr) {
        SetLastError(static_cast<DWORD>(std::strtoul(code, nullptr, 10)));
        return FALSE;
    }
    return AssignProcessToJobObject(job, process);
}
