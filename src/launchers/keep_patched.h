#pragma once

#include <string>
#include <vector>

#include "launchers/launch_settings.h"

// Keeping the game patched through its launchers: the tool's line set in
// their settings for the game, or taken back. What to change and where is
// decided here; the run only tells the player.

/// The size that takes the line back.
inline const std::string kKeepOff = "off";

struct KeepRequest {
    std::string size;    // WIDTHxHEIGHT, or kKeepOff
    std::string program; // a program of the player's own for the line to name; empty: a copy of this one
};

enum class KeepResult {
    Set,              // the line is set now: `shown`
    AlreadySet,       // it was: `shown`
    TakenOut,         // the tool's part is out: `shown` is what is left
    NothingOurs,      // nothing of the tool's was there to take out
    NoAccount,        // a Steam that no account has signed in to yet
    NoSettingsYet,    // Heroic has no settings file for the game yet
    Running,          // the launcher runs, and would write its settings over the change
    StartedMeanwhile, // the launcher started while the file was being written: it stays as it was
    Refused,          // the file is left as it is: `err`
    NotNoted,         // the change could not be noted in the record first: `err`
    NotWritten,       // the file could not be written: `err`
};

/// What came of one launcher's settings.
struct KeepOutcome {
    LaunchSetting setting;
    KeepResult result = KeepResult::Refused;
    std::string shown; // the launch line (Steam) or the tool's wrapper (Heroic), as it is now
    std::string copy;  // where the file's old content is kept
    std::string note;  // a folder that could not be synced
    std::string err;
};

/// The program that the line for `setting` names: the player's own
/// (`request.program`), else this program's copy in a place of its own (the
/// user's programs, or the sandbox's folder of a launcher in a Flatpak).
std::string lineProgramFor(const LaunchSetting& setting, const KeepRequest& request);

/// The line that the first Steam account's launch options among
/// `settings` would become, in *line; false where there is none to read.
bool steamLineOf(const std::vector<LaunchSetting>& settings, const KeepRequest& request, std::string* line);

/// Sets the tool's line for `request.size` in each of `settings`, or takes
/// it back: one outcome each, in order. Every change is noted in the
/// record before the file is written, and a file is written only while
/// its launcher is not running, looked at again just before the new file
/// takes its name. One run at a time: another is waited for a few seconds.
/// False, with the reason and nothing written, where the run cannot start:
/// the record is held by another run, or a file that the tool did not place
/// stands where its copy goes.
bool keepPatchedIn(const std::vector<LaunchSetting>& settings, const KeepRequest& request,
                   std::vector<KeepOutcome>* outcomes, std::string* err);
