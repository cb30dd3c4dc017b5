#include <iostream>
#include <string>
#include <vector>

#include "files/executable_locator.h"
#include "files/player_text.h"
#include "platform/console.h"
#include "platform/desktop_start.h"
#include "platform/file_system.h"
#include "run/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Double-clicked on a Linux desktop, the dialogue needs a window to run in.
    std::string program;
    switch (restartInTerminalWindow("GORV_PATCHER_IN_TERMINAL", arguments, &program)) {
    case TerminalStart::Started: return 0;
    case TerminalStart::Failed: {
        const std::string name = printable(extractFileName(program, kPathSeparators));
        const std::string message = name +
                                    " runs in a terminal window, and none could be started: install xterm or "
                                    "konsole, or start " +
                                    printable(program) + " from a terminal.";
        std::cerr << message << std::endl;
        showOnDesktop(name, message);
        break;
    }
    case TerminalStart::NotNeeded: break;
    }
    const Utf8Console console;
    return runCommandLine(arguments);
}
