#include "platform/console.h"
#include "run/patch_run.h"

int main() {
    const Utf8Console console;
    return runPatcher();
}
