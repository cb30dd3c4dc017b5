// Test builds only: routes the Windows file calls of the platform code
// (and the one call that ties a started game to the tool)
// through a counting shim (fault_shim_win32.cpp), which can fail the Nth
// call with a chosen Windows error, or end the process there as a kill
// would. Included first by file_system_win32_faults.cpp; everything the
// platform file includes comes before the renames, so that only its own
// calls are renamed.
#pragma once

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/code_page_win32.h"
#include "platform/file_system.h"

HANDLE WINAPI shimCreateFileW(LPCWSTR name, DWORD access, DWORD sharing, LPSECURITY_ATTRIBUTES security,
                              DWORD disposition, DWORD flags, HANDLE templateFile);
DWORD WINAPI shimGetFileAttributesW(LPCWSTR name);
BOOL WINAPI shimDeleteFileW(LPCWSTR name);
BOOL WINAPI shimMoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags);
BOOL WINAPI shimLockFileEx(HANDLE file, DWORD flags, DWORD reserved, DWORD low, DWORD high, LPOVERLAPPED position);
BOOL WINAPI shimGetFileSizeEx(HANDLE file, PLARGE_INTEGER size);
BOOL WINAPI shimGetFileInformationByHandle(HANDLE file, LPBY_HANDLE_FILE_INFORMATION information);
std::size_t shimFread(void* buffer, std::size_t size, std::size_t count, std::FILE* file);
std::size_t shimFwrite(const void* data, std::size_t size, std::size_t count, std::FILE* file);
int shimFflush(std::FILE* file);
int shimFclose(std::FILE* file);
int shimCommit(int descriptor);
int shimFseeki64(std::FILE* file, long long position, int origin);
int shimOpenOsfhandle(std::intptr_t handle, int flags);
std::FILE* shimFdopen(int descriptor, const char* mode);
// Not counted: fails whenever GORV_FAULT_JOB names a Windows error.
BOOL WINAPI shimAssignProcessToJobObject(HANDLE job, HANDLE process);

namespace std {
using ::shimFclose;
using ::shimFflush;
using ::shimFread;
using ::shimFwrite;
} // namespace std

#define CreateFileW shimCreateFileW
#define GetFileAttributesW shimGetFileAttributesW
#define DeleteFileW shimDeleteFileW
#define MoveFileExW shimMoveFileExW
#define LockFileEx shimLockFileEx
#define GetFileSizeEx shimGetFileSizeEx
#define GetFileInformationByHandle shimGetFileInformationByHandle
#define fread shimFread
#define fwrite shimFwrite
#define fflush shimFflush
#define fclose shimFclose
#define _commit shimCommit
#define _fseeki64 shimFseeki64
#define _open_osfhandle shimOpenOsfhandle
#define _fdopen shimFdopen
#define AssignProcessToJobObject shimAssignProcessToJobObject
