#pragma once

#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "platform/process.h"

// The runs that nobody answers: a patch from the command line, and a patch
// before the game starts, as a launcher's wrapper (Steam's %command%).

/// The option that names the screen, as "--screen WIDTHxHEIGHT" or
/// "--screen=WIDTHxHEIGHT".
inline const std::string kScreenOption = "--screen";

/// The screen that --screen names.
struct ScreenSize {
    float width = 0.0F;
    float height = 0.0F;
};

/// Reads "WIDTHxHEIGHT" (or with "X"): two dimensions as the dialogue reads
/// them, of a shape that a screen has (a ratio from 0.25 to 8). On failure
/// *err says what was wrong.
bool parseScreenSize(const std::string& text, ScreenSize* size, std::string* err);

/// Whether `ratio` is one that a screen has: from 0.25 to 8.
bool isScreenRatio(float ratio);

/// Patches the game at `gamePath` for `size`, as the dialogue would but
/// without a question. With no path: gorv.exe in the working folder, else
/// the one game that findRecordedGames finds. A game that the tool left
/// set, unchanged since, is not written at all. Any other is patched where
/// locateValue puts the value (an update may have moved it: its earlier
/// version in the backup then shows where), and a new place is written
/// into the update file beside the game; else it is refused. Every line goes to `out`, with one
/// that names the offset and where it came from where `sayOffset` asks.
/// Returns 0 when the game is patched or was already, 1 when it is not.
int patchUnattended(const ScreenSize& size, const std::string& gamePath, std::ostream& out, bool sayOffset = false);

/// `screenArguments` (--screen WIDTHxHEIGHT), then `command`: patches the
/// game that the command names (its first word whose file name is
/// gorv.exe, in any case), else gorv.exe in the working folder, as
/// patchUnattended does, with its lines on standard error and in the log
/// beside the game (else in the user's state folder); and then runs the
/// command in this program's place, whatever came of the patch and
/// whatever stood before it (what was wrong is said). `dashes`: the command
/// came after a "--" of the tool's own. `beforeStart` runs just before the
/// command starts. Returns the command's exit status where it is waited
/// for, and 127 when it could not be started.
int runLaunch(const std::vector<std::string>& screenArguments, const Command& command, bool dashes,
              const std::function<void()>& beforeStart);
