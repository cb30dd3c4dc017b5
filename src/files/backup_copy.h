#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/file_system.h"

struct Backup {
    std::string path;  // the executable's path + ".backup"
    std::string note;  // a line for the player when the backup may not be durable yet; usually empty
    bool kept = false; // an earlier run's backup of the same game was kept, not copied anew
};

/// A backup that differs from the game in at most this many bytes holds the
/// same game: patched (at any offset, any number of times) or hex-edited a
/// little. A game update changes far more.
constexpr std::int64_t kMaxChangedBytes = 64;

/// How the file at a backup's name compares with the game.
enum class BackupMatch {
    SecondName, // the game itself under another name (a hard link), no backup
    OtherGame,  // another size, or more than kMaxChangedBytes bytes differ
    SameGame,   // the same size, and 1 to kMaxChangedBytes bytes differ
    Identical,  // the same bytes
};

/// A stretch of the game that differs from its backup: where it starts,
/// and the backup's bytes there.
struct ChangedRun {
    std::int64_t position = 0;
    std::string bytes;
};

/// Compares the two open files from their current positions to their ends,
/// block by block, in memory that does not grow with their size. With
/// `runs`, for SameGame and Identical these are where the game differs.
bool compareWithBackup(std::FILE* game, std::FILE* backup, BackupMatch* match, std::string* err,
                       std::vector<ChangedRun>* runs = nullptr);

/// How many bytes the two open files differ in outside the 4 at `offset`,
/// read from their starts: -1 when their sizes differ; the counting stops
/// once it passes `limit`.
bool countChangesBeside(std::FILE* one, std::FILE* other, std::int64_t offset, std::int64_t limit, std::int64_t* count,
                        std::string* err);

/// Makes sure that `path` + ".backup" holds the executable as it was before
/// any patch. An existing backup that is a file of its own and holds the
/// same game (see BackupMatch) already does and is kept. Otherwise the
/// executable is copied over it with copyOver. Only gorv.exe's backup is
/// ever replaced: the backup of a file of another name is made where
/// nothing of that name stands yet, and is refused otherwise. On failure
/// *err says what could not be copied, and why.
bool backupExecutable(const std::string& path, Backup* backup, std::string* err);

/// Copies the file at `source` over `target`: into a new temporary file of
/// this run's own beside the target first (temporaryPathOf: whatever stood
/// at that name goes first), which replaces the target only once it is complete and on
/// disk, so a failure never costs the target as it was. `openTarget`, when
/// given, is the target, open: the copy takes its permission bits (else
/// the source's), and it is closed just before the replace (Windows
/// replaces no file that is open). *note as for replaceFile; on failure
/// *err holds the system's reason only.
bool copyOver(const std::string& source, const std::string& target, File* openTarget, std::string* note,
              std::string* err);

/// Writes the backup's bytes of `runs` (see compareWithBackup) back into
/// the open game itself, as a patch writes its own, and forces them to the
/// disk: the game keeps its owner, its attributes and its other names.
/// *changedBeside counts the bytes put back outside the 4 at `offset`
/// (those of a patch).
bool writeBackRuns(std::FILE* game, const std::vector<ChangedRun>& runs, std::int64_t offset,
                   std::int64_t* changedBeside, std::string* err);

/// The game that the backup at `backupPath` belongs to: that path without
/// its ".backup"; the path itself when it has no such end.
std::string gamePathOf(const std::string& backupPath);
/// The temporary copy that the tool makes of `target`, beside it: `target`
/// + ".tmp" for the game and its backup, whose names are the tool's own,
/// and `target` + ".gorv-patcher.tmp" for any other file, a name no other
/// program makes.
std::string temporaryPathOf(const std::string& target);
/// Whether a file of this name is one that the tool makes: a backup, or a
/// temporary copy.
bool isToolFileName(const std::string& name);
/// Whether the game at `gamePath` may be patched or restored: a regular
/// file (through links), or nothing at all where `mayBeMissing`, and not
/// one of the tool's own files (see isToolFileName) under a link. Else
/// false, and *err says why.
bool checkGameFile(const std::string& gamePath, bool mayBeMissing, std::string* err);

/// Removes the temporary copies that a run killed part-way may have left
/// beside the game at `gamePath` and its backup, and nothing else. Only
/// for a run that holds the game's lock.
void removeLeftovers(const std::string& gamePath);

/// What a run does before it writes the game at `gamePath`: takes its lock
/// (*lock, see lockExecutable), removes the leftovers of a run that was
/// killed, and makes sure of the backup (backupExecutable). On failure the
/// lock is let go, for another run may start while this one waits, and
/// *err says why.
bool prepareToPatch(const std::string& gamePath, File* lock, Backup* backup, std::string* err);
