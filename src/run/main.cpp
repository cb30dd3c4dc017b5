#include "platform/console.h"
#include "platform/desktop_start.h"
#include "run/patch_run.h"

int main() {
    // Double-clicked on a Linux desktop, the dialogue needs a window to run in.
    if (restartInTerminalWindow("GORV_PATCHER_IN_TERMINAL")) {
        return 0;
    }
    const Utf8Console console;
    return runPatcher();
}
