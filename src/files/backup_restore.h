#pragma once

#include <string>

enum class RestoreOutcome {
    Restored,     // the game was put back from the backup
    AlreadyEqual, // the game equals the backup: nothing was done
};

/// The game that the backup at `backupPath` belongs to: that path without
/// its ".backup"; the path itself when it has no such end.
std::string gamePathOf(const std::string& backupPath);

/// Puts the game back from its backup at `backupPath` (named exactly
/// gorv.exe.backup; anything else is refused before it is read), under the
/// same lock as a patch run: a copy of the backup replaces the game only
/// once the copy is whole and on disk, and the backup stays. A missing game
/// is made anew; a game reached through links is put back where they lead,
/// and keeps its permission bits. Refuses, changing nothing, when the
/// backup is not a file of its own, when it no longer holds the same game
/// (see BackupMatch: the game was updated since), and when the game cannot
/// be written (in use, read-only, a folder without write permission); *err
/// then says which.
/// *note as in Backup.
bool restoreFromBackup(const std::string& backupPath, RestoreOutcome* outcome, std::string* note, std::string* err);
