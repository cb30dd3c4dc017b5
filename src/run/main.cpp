#include <string>
#include <vector>

#include "platform/console.h"
#include "platform/desktop_start.h"
#include "run/command_line.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // Double-clicked on a Linux desktop, the dialogue needs a window to run in.
    if (restartInTerminalWindow("GORV_PATCHER_IN_TERMINAL", arguments)) {
        return 0;
    }
    const Utf8Console console;
    return runCommandLine(arguments);
}
