#include "run/patch_run.h"

int main() {
    return runPatcher();
}
