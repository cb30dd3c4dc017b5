// Holds a file open as another program would (a running game, a virus
// scanner), or as another run of the patcher does (shared with everyone,
// with the patcher's lock on it), until a second file appears or a minute
// has passed.
// Usage: hold_file PATH read|none|lock RELEASE_PATH
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hold_file PATH read|none|lock RELEASE_PATH\n");
        return 2;
    }
    const bool lock = std::strcmp(argv[2], "lock") == 0;
    const DWORD sharing = lock                                ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE
                          : std::strcmp(argv[2], "read") == 0 ? FILE_SHARE_READ
                                                              : 0;
    const HANDLE file =
        CreateFileA(argv[1], GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    // The patcher's lock: one byte far past the end of any file.
    OVERLAPPED position{};
    position.OffsetHigh = 0x7FFFFFFF;
    if (lock && LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &position) == 0) {
        std::fprintf(stderr, "cannot lock %s: error %lu\n", argv[1], GetLastError());
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    for (int tick = 0; tick < 600 && GetFileAttributesA(argv[3]) == INVALID_FILE_ATTRIBUTES; ++tick) {
        Sleep(100);
    }
    CloseHandle(file);
    return 0;
}
