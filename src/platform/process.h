#pragma once

#include <string>
#include <vector>

// Running another program in this one's place, as a launcher's wrapper does.

/// Runs `command` (a program, looked up on the system's search path as a
/// shell does, and its arguments) with this process's environment, working
/// folder and standard streams, and nothing else of it: no other open file
/// or lock. Where the system can (POSIX), the program replaces this process
/// and the call returns only on failure. Elsewhere (Windows) it runs as a
/// child that is waited for, and *status is its exit status. False, with
/// the system's reason in *err, when the program could not be started.
bool runInPlace(const std::vector<std::string>& command, int* status, std::string* err);

/// The command line that hands `arguments` to a Windows program unchanged,
/// as its C runtime splits a command line: each argument that holds a
/// blank or a quote, or is empty, in quotes, with the backslashes before a
/// quote doubled.
std::string windowsCommandLine(const std::vector<std::string>& arguments);
