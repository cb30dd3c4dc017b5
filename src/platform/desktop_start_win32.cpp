#include "platform/desktop_start.h"

// Windows opens a console window for a console program however it starts.

bool restartInTerminalWindow(const char*, const std::vector<std::string>&) {
    return false;
}
