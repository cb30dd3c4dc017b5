#pragma once

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
    Usage,    // anything else: an unknown option, or more than one argument
};

struct Start {
    StartKind kind = StartKind::Dialogue;
    std::string path;
};

/// What the arguments (the program's name not among them) ask for.
Start parseCommandLine(const std::vector<std::string>& arguments);

/// Runs what the arguments ask for and returns the exit status: 0 when it
/// was done, 1 when a restore was refused, 2 for a usage error (told on
/// `err`).
int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out = std::cout,
                   std::ostream& err = std::cerr);
