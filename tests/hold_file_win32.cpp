// Holds a file open as another program would (a running game, a virus
// scanner), until a second file appears or a minute has passed.
// Usage: hold_file PATH read|none RELEASE_PATH
#include <windows.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: hold_file PATH read|none RELEASE_PATH\n");
        return 2;
    }
    const DWORD sharing = std::strcmp(argv[2], "read") == 0 ? FILE_SHARE_READ : 0;
    const HANDLE file =
        CreateFileA(argv[1], GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s: error %lu\n", argv[1], GetLastError());
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
