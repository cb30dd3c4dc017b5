#pragma once

#include <string>
#include <vector>

// What the tool changed in launchers' settings, so that it can take
// exactly that back: one entry per file and app, kept in the user's state
// folder as JSON.

struct KeptChange {
    std::string file;     // the settings file, through its links
    std::string app;      // Steam's app id, Heroic's app name
    std::string wrote;    // the value the tool wrote: the launch options, the wrapper's args
    bool present = false; // Steam: the launch options were there before
    std::string token;    // Steam: their value as it stood in the file
    int made = 0;         // Steam: the blocks made on the way; Heroic: 1 when the wrapper list was made
};

/// The record's path: gorv-patcher/keep-patched.json in the user's state
/// folder; empty where there is none.
std::string keepRecordPath();

/// The entries of the record at `path`; none when it is missing or
/// unreadable (a take-back then works from the launch line alone).
std::vector<KeptChange> readKeepRecord(const std::string& path);

/// Writes the entries to the record at `path` (its folders made), synced.
bool writeKeepRecord(const std::string& path, const std::vector<KeptChange>& changes, std::string* err);

/// The entry for `file` and `app`; null when there is none.
KeptChange* findKeptChange(std::vector<KeptChange>* changes, const std::string& file, const std::string& app);
