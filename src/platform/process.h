#pragma once

#include <cstdint>
#include <functional>
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

/// The folder where the user's programs keep what they leave for later
/// (logs): $XDG_STATE_HOME, else ~/.local/state; %LOCALAPPDATA% on
/// Windows. Empty where the environment names none.
std::string userStateFolder();

/// The folder where the user's own programs go: ~/.local/bin;
/// %LOCALAPPDATA%\Programs\`name` on Windows. Empty where the environment
/// names none.
std::string userProgramFolder(const std::string& name);

/// The file names of a tool's programs called `name` that a launch line
/// may name, the one it should name first: on Windows the windowed build
/// (NAMEw.exe, no console window) and the console build (NAME.exe);
/// elsewhere NAME.
std::vector<std::string> launchProgramNames(const std::string& name);

/// `program` as the first word of a launcher's launch line: quoted for a
/// POSIX shell where it needs to be; in double quotes on Windows.
std::string launchLineWord(const std::string& program);

/// Whether the process `id` lives; where `name` is given, also whether its
/// program has that name (Linux: as /proc/ID/comm has it; Windows: the
/// program's file name without ".exe", in any case).
bool isLiveProcess(std::uint32_t id, const std::string& name);

/// Whether a process runs a program named `name` (see isLiveProcess).
bool isProgramRunning(const std::string& name);

/// A command to start: its words (in UTF-8, for what the tool says and
/// looks for), and where it starts among this program's own arguments as
/// they were given (0: the first after the program's name).
struct Command {
    std::vector<std::string> words;
    std::size_t firstArgument = 0;
};

/// The command as one line, as the system hands it on: on Windows the rest
/// of this program's own command line from the command's first word on,
/// exactly as it stands; elsewhere its words, each quoted for a POSIX
/// shell where it needs to be.
std::string commandText(const Command& command);

/// Runs `command` (a program, looked up on the system's search path as a
/// shell does, and its arguments; on POSIX systems, leading NAME=value
/// words set the program's environment first, as env takes them, and a
/// command of nothing else is refused) with this process's environment, working
/// folder and standard streams, and nothing else of it: no other open file
/// or lock. Where the system can (POSIX), the program replaces this process
/// and the call returns only on failure. Elsewhere (Windows) the rest of
/// this program's command line (see commandText) goes to the program
/// unchanged, which runs as a child that is waited for, in a job that ends
/// it when this program ends (as a launcher's Stop ends this one);
/// `started` hears of the start, with the system's reason where the child
/// could not be tied to this program (else empty); *status is its exit status; a program without a
/// console window starts its own without one. False, with the system's
/// reason in *err, when the program could not be started.
bool runInPlace(const Command& command, const std::function<void(const std::string& note)>& started, int* status,
                std::string* err);

/// A word of a Windows command line as the C runtime splits it (the
/// program's name first, by its own rule): its text, where it ends, and
/// where the next word starts.
struct WindowsWord {
    std::u16string text;
    std::size_t end = 0;
    std::size_t next = 0;
};
std::vector<WindowsWord> splitWindowsCommandLine(const std::u16string& line);
