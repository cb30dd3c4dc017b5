#pragma once

#include <string>
#include <vector>

// This program's start (its arguments, its environment), and running
// another program in this one's place, as a launcher's wrapper does.

/// The arguments this program was started with, its own name not among
/// them, in UTF-8 on every system (on Windows whatever its code page).
std::vector<std::string> programArguments(int argc, char** argv);

/// The path of this program's own file; empty where the system cannot tell.
std::string programPath();

/// The environment variable `name` in UTF-8; empty where it is not set.
std::string environmentVariable(const char* name);

/// Runs `command` (a program, looked up on the system's search path as a
/// shell does, and its arguments) with this process's environment, working
/// folder and standard streams, and nothing else of it: no other open file
/// or lock. Where the system can (POSIX), the program replaces this process
/// and the call returns only on failure. Elsewhere (Windows) it runs as a
/// child that is waited for, and *status is its exit status; a program
/// without a console window starts its own without one. False, with
/// the system's reason in *err, when the program could not be started.
bool runInPlace(const std::vector<std::string>& command, int* status, std::string* err);

/// The command line that hands `arguments` to a Windows program unchanged,
/// as its C runtime splits a command line: each argument that holds a
/// blank or a quote, or is empty, in quotes, with the backslashes before a
/// quote doubled.
std::string windowsCommandLine(const std::vector<std::string>& arguments);
