#pragma once

#include <cstdint>
#include <string>

struct Backup {
    std::string path; // the executable's path + ".backup"
    std::string note; // a line for the player when the backup may not be durable yet; usually empty
};

/// Makes sure that `path` + ".backup" holds the executable as it was before
/// any patch. An existing backup that is a file of its own and equals the
/// executable everywhere but in the four bytes at `patchOffset` already
/// does and is kept. Otherwise the executable is copied to a temporary file
/// of its own first, which replaces the backup only once it is complete and
/// on disk, so a failed run never costs the last good backup. On failure
/// *err says what could not be copied, and why.
bool backupExecutable(const std::string& path, std::int32_t patchOffset, Backup* backup, std::string* err);
