#include "platform/console.h"

#include <windows.h>

Utf8Console::Utf8Console() {
    DWORD mode = 0;
    // Only a real console has a mode; a pipe or a file does not.
    if (GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) == 0) {
        return;
    }
    const UINT current = GetConsoleOutputCP();
    if (current != 0 && current != CP_UTF8 && SetConsoleOutputCP(CP_UTF8) != 0) {
        savedCodePage = current;
    }
}

bool isOnlyProgramInConsole() {
    DWORD processes[2] = {};
    return GetConsoleProcessList(processes, 2) == 1;
}

Utf8Console::~Utf8Console() {
    restore();
}

void Utf8Console::restore() {
    if (savedCodePage != 0) {
        SetConsoleOutputCP(savedCodePage);
        savedCodePage = 0;
    }
}

bool isWindowedProgram() {
    // The subsystem that the program was linked for, from its own header.
    const auto* const image = reinterpret_cast<const unsigned char*>(GetModuleHandleW(nullptr));
    const auto* const dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
    const auto* const nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(image + dos->e_lfanew);
    return nt->OptionalHeader.Subsystem == IMAGE_SUBSYSTEM_WINDOWS_GUI;
}
