#pragma once

#include <string>
#include <vector>

// A console program started from a desktop, as a double-click in a file
// manager starts it: without a terminal, nobody could read or answer it.

/// When this process has no terminal (neither standard input nor standard
/// output is one, and standard input is /dev/null) but a graphical session,
/// and the environment variable `marker` is not set, starts the program
/// again inside a terminal window, in the same working folder, with the
/// same `arguments` and with `marker` set, and returns true: this process has nothing more to do.
/// When no terminal window can be started it says so on standard error
/// and, where a desktop tool for it is there, in a message on screen.
/// False for every other start, and wherever the system gives every
/// console program a window of its own.
bool restartInTerminalWindow(const char* marker, const std::vector<std::string>& arguments);
