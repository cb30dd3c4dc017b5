#include <iostream>
#include <string>
#include <vector>

#include "files/executable_locator.h"
#include "files/player_text.h"
#include "platform/console.h"
#include "platform/desktop_start.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/standard_streams.h"
#include "run/command_line.h"

int main(int argc, char** argv) {
    // First of all: a standard stream that was closed must not become one
    // of the tool's files, and a reader that has gone must not end the run.
    guardStandardStreams();
    const std::vector<std::string> arguments = programArguments(argc, argv);
    // Double-clicked on a Linux desktop, the dialogue needs a window to run
    // in; a launcher's run (Steam starts games with no terminal) never does.
    std::string program;
    const TerminalStart terminal = asksInConsole(arguments)
                                       ? restartInTerminalWindow("GORV_PATCHER_IN_TERMINAL", arguments, &program)
                                       : TerminalStart::NotNeeded;
    switch (terminal) {
    case TerminalStart::Started: return 0;
    case TerminalStart::Failed: {
        const std::string name = printable(extractFileName(program, kPathSeparators));
        const std::string message = name +
                                    " runs in a terminal window, and none could be started: install xterm or "
                                    "konsole, or start " +
                                    printable(program) + " from a terminal.";
        std::cerr << message << std::endl;
        showOnDesktop(name, message, DesktopMessage::Error);
        break;
    }
    case TerminalStart::NotNeeded: break;
    }
    Utf8Console console;
    // A launched game gets the console as it was.
    return runCommandLine(arguments, [&console] { console.restore(); });
}
