#pragma once

#include <cstdint>
#include <string>

enum class RestoreOutcome {
    Restored,     // the game was put back from the backup
    AlreadyEqual, // the game equals the backup: nothing was done
};

/// Puts the game back from its backup at `backupPath` (named exactly
/// gorv.exe.backup; anything else is refused before it is read), under the
/// same lock as a patch run. The bytes in which the game differs from the
/// backup are written back into the game itself, through any link, and
/// forced to the disk: the game keeps its owner, attributes, permission
/// bits and other names, and the backup stays. A missing game is made
/// anew from a whole copy. Refuses, changing nothing, when the backup is
/// not a file of its own, when the game is no file or leads to one of the
/// tool's (see checkGameFile), when the backup no longer holds the same
/// game (see BackupMatch: the game was updated since), and when the game
/// cannot be written (in use, read-only); *err then says which.
/// *note as in Backup. *changedBeside counts the bytes put back outside
/// the 4 at `offset` (more than a patch: the backup is an earlier version).
bool restoreFromBackup(const std::string& backupPath, std::int64_t offset, RestoreOutcome* outcome,
                       std::int64_t* changedBeside, std::string* note, std::string* err);
