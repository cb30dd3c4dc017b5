// The Windows process functions of the program, with the call that ties a
// started game to the tool routed through the fault shim: for the fault
// sweep's build only.
#include "fault_shim_win32.h"

#include "platform/process_win32.cpp"
