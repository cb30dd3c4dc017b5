#include "platform/desktop_start.h"

// Windows opens a console window for a console program however it starts.

TerminalStart restartInTerminalWindow(const char*, const std::vector<std::string>&, std::string*) {
    return TerminalStart::NotNeeded;
}

void showOnDesktop(const std::string&, const std::string&) {}
