#include "platform/standard_streams.h"

#include <windows.h>

#include <initializer_list>

void guardStandardStreams() {
    // A program without a console (started by a launcher, or the windowed
    // build) may have no standard handles. The C runtime keeps its own
    // numbers 0 to 2 reserved for them either way; here each missing handle
    // gets the null device, so that a program started from this one finds
    // its streams open too.
    for (const DWORD stream : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        const HANDLE handle = GetStdHandle(stream);
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            continue;
        }
        const HANDLE null = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (null != INVALID_HANDLE_VALUE) {
            SetStdHandle(stream, null);
        }
    }
}

// Windows has no signal for a pipe without a reader: the write fails.
void restoreBrokenPipeHandling() {}
