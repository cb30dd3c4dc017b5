#pragma once

#include <functional>
#include <iostream>
#include <string>
#include <vector>

// How the tool was started: with no argument (the dialogue), with a game
// (a file dropped onto the program), or with a backup to put back.

enum class StartKind {
    Dialogue, // no argument
    Game,     // a path to patch
    Backup,   // a path ending in ".backup": restore the game from it
    Help,     // --help
    Version,  // --version
    Screen,   // --screen WIDTHxHEIGHT [GAME]: patch without a question
    Launch,   // ... -- COMMAND...: patch when "--screen WIDTHxHEIGHT" came first, then start the game
    Keep,     // --keep-patched [WIDTHxHEIGHT | off [GAME]]: set the launchers' line, or take it back
    Usage,    // anything else: an unknown option, or more than one argument
};

struct Start {
    StartKind kind = StartKind::Dialogue;
    std::string path;                   // the game or backup; for Screen and Keep, the game or empty
    std::vector<std::string> arguments; // Screen, Launch: the words before the command ("--screen=" split); Keep: the
                                        // size or "off", if given
    std::vector<std::string> command;   // Launch: COMMAND and its arguments; Keep: --program's PATH, if given
    std::size_t commandStart = 0;       // Launch: where COMMAND starts among the arguments as given
    bool dashes = false;                // Launch: COMMAND came after a "--" of the tool's own
};

/// What the arguments (the program's name not among them) ask for. After
/// "--screen WIDTHxHEIGHT", whatever follows is a command to launch, "--"
/// or not, except one game alone, which is patched; the `windowed` build
/// launches that too.
Start parseCommandLine(const std::vector<std::string>& arguments, bool windowed = false);

/// Whether the arguments start a run that talks with a player on the
/// console (the dialogue, a dropped game or backup), which needs a window
/// when it was started from a desktop; a launcher's run never does.
bool asksInConsole(const std::vector<std::string>& arguments);

/// Runs what the arguments ask for and returns the exit status: 0 when it
/// was done, 1 when a restore or a patch without questions was refused, 2
/// for a usage error (told on `err`); for a launch, the command's. The
/// windowed build only patches and launches; started otherwise, a message
/// box says what it is for.
/// `beforeStart` runs just before a launch starts its command.
int runCommandLine(
    const std::vector<std::string>& arguments, const std::function<void()>& beforeStart = [] {},
    std::ostream& out = std::cout, std::ostream& err = std::cerr);
