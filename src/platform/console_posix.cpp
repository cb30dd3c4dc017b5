#include "platform/console.h"

// Terminals here take the bytes as they come.

Utf8Console::Utf8Console() = default;

Utf8Console::~Utf8Console() = default;

void Utf8Console::restore() {}

bool isOnlyProgramInConsole() {
    // A terminal outlives the program; a desktop start opens one that waits.
    return false;
}

bool isWindowedProgram() {
    return false;
}
