#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/file_system.h"

// What the tool changed in launchers' settings, so that it can take
// exactly that back, and the copies of itself it placed, so that it never
// replaces a file of the player's: kept in the user's state folder as
// JSON.

struct KeptChange {
    std::string file;     // the settings file, through its links
    std::string app;      // Steam's app id, Heroic's app name
    std::string wrote;    // the value the tool wrote: the launch options, the wrapper's args
    bool present = false; // Steam: the launch options were there before
    std::string token;    // Steam: their value as it stood in the file
    int made = 0;         // Steam: the blocks made on the way; Heroic: 1 when the wrapper list was made
    std::string program;  // the program the line names, where the player chose one of their own
};

/// A copy of the program that the tool placed: what the file at `path`
/// holds while nobody else has changed it.
struct PlacedProgram {
    std::string path;
    std::int64_t size = 0;
    std::string hash; // fileFingerprint's
};

struct KeepRecord {
    std::vector<KeptChange> changes;
    std::vector<PlacedProgram> programs;
};

/// The record's path: gorv-patcher/keep-patched.json in the user's state
/// folder; empty where there is none.
std::string keepRecordPath();

/// The record at `path`; empty when it is missing or unreadable (a
/// take-back then works from the launch line alone).
KeepRecord readKeepRecord(const std::string& path);

/// Writes the record to `path` (its folders made), synced.
bool writeKeepRecord(const std::string& path, const KeepRecord& record, std::string* err);

/// The entry for `file` and `app`; null when there is none.
const KeptChange* findKeptChange(const KeepRecord& record, const std::string& file, const std::string& app);

/// Holds the record for this run alone, by a lock on keep-patched.lock
/// beside it, for as long as *lock is open: another run that holds it is
/// waited for up to `seconds`. A file system without locks is no failure.
/// False, with the reason, where the lock cannot be had.
bool lockKeepRecord(const std::string& recordPath, int seconds, File* lock, std::string* err);
