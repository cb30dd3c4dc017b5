// The Windows file functions of the program, with their system calls
// routed through the fault shim: for the fault sweep's build only.
#include "fault_shim_win32.h"

#include "platform/file_system_win32.cpp"
