#pragma once

#include <cstddef>
#include <string>

// The launch line that keeps the game patched, as Steam and Heroic run it:
// the player's environment settings and wrappers, then this tool's part,
// then the game's command.

/// The tool's arguments before the game's command: "--screen SIZE --" (a
/// wrapper's arguments in Heroic).
std::string launchArguments(const std::string& size);

/// The tool's part of a launch line: `program` (as the launcher needs it
/// quoted), then launchArguments.
std::string launchPart(const std::string& program, const std::string& size);

/// Whether `path` names one of the tool's programs (gorv-patcher,
/// gorv-patcher.exe, gorv-patcherw.exe, in any case), or is `also` (a
/// program of the player's own that stands in for them; empty for none).
bool isToolProgram(const std::string& path, const std::string& also = "");

/// Where a part of the tool's stands in a launch line: the words
/// PROGRAM --screen SIZE --, as a shell splits them, PROGRAM one of the
/// tool's (isToolProgram).
struct LaunchPartPlace {
    std::size_t begin = 0; // where PROGRAM starts, its quotes included
    std::size_t end = 0;   // just after the --
    std::string program;   // PROGRAM, unquoted
    std::string size;      // SIZE, unquoted
};

/// The first part of the tool's in `options`; false where there is none.
bool findLaunchPart(const std::string& options, const std::string& also, LaunchPartPlace* place);

/// `options` with the tool's part for `program` (quoted as the launcher
/// needs it) and `size`: a part of the tool's already there, wherever it
/// stands and whatever program and size it names, is made this one; else
/// the part goes right before %command%, after the player's environment
/// settings and wrappers; options without %command% are the game's
/// arguments, after it.
std::string withLaunchPart(const std::string& options, const std::string& program, const std::string& size,
                           const std::string& also = "");

/// `options` with the tool's part (and the blank after it) cut out, the
/// rest as it stands; options left with nothing but %command% become
/// empty, as they were before the tool added both.
std::string withoutLaunchPart(const std::string& options, const std::string& also = "");
