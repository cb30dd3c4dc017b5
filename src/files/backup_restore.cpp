#include "files/backup_restore.h"

#include "files/backup_copy.h"
#include "files/executable_locator.h"
#include "files/executable_lock.h"
#include "files/game_files.h"
#include "files/open_refusal.h"
#include "platform/file_system.h"

namespace {

// Whether the game at gamePath, which is there, may be put back from the
// backup: *outcome is AlreadyEqual when there is nothing to do; else
// *game is the game, open for writing.
bool checkGame(const std::string& gamePath, const std::string& backupPath, std::FILE* backup, RestoreOutcome* outcome,
               File* game, std::vector<ChangedRun>* runs, std::string* err) {
    BackupMatch match = BackupMatch::OtherGame;
    std::string reason;
    if (!openForReading(gamePath, game, &reason) || !compareWithBackup(game->get(), backup, &match, &reason, runs)) {
        *err = "could not compare " + gamePath + " with " + backupPath + ": " + reason;
        return false;
    }
    switch (match) {
    case BackupMatch::Identical: *outcome = RestoreOutcome::AlreadyEqual; return true;
    case BackupMatch::SameGame: break;
    case BackupMatch::SecondName:
        *err = backupPath + " is " + gamePath + " itself under a second name, not a backup";
        return false;
    case BackupMatch::OtherGame:
        *err = gamePath + " has changed since " + backupPath +
               " was made (a game update?); Steam's \"Verify integrity of game files\" restores the game";
        return false;
    }
    // A game that is running or read-only cannot be written: say so in the
    // words that let the player act.
    Refusal refusal = Refusal::Other;
    game->reset();
    if (!openForUpdate(gamePath, game, &refusal, &reason)) {
        *err = openRefusalText(gamePath, "write", refusal, reason);
        return false;
    }
    return true;
}

} // namespace

bool restoreFromBackup(const std::string& backupPath, std::int64_t offset, RestoreOutcome* outcome,
                       std::int64_t* changedBeside, std::string* note, std::string* err) {
    note->clear();
    *changedBeside = 0;
    const std::string gamePath = gamePathOf(backupPath);
    // Only the game's own backup: any other file.backup beside its file
    // (a save and its copy) is none of the tool's business.
    const std::string backupName = kExecutableName + kBackupSuffix;
    if (extractFileName(backupPath, kPathSeparators) != backupName) {
        *err = backupPath + " is not " + backupName + ": only the backup of " + kExecutableName + " is restored";
        return false;
    }
    std::string reason;
    File backup;
    if (!openRegularFileForReading(backupPath, false, &backup, &reason)) {
        *err = "could not read the backup " + backupPath + ": " + reason;
        return false;
    }
    if (!checkGameFile(gamePath, true, err)) {
        return false;
    }
    // No patch run meanwhile: the game's lock, as a patch run takes it. One
    // restore at a time: the backup's lock, taken once the backup is known
    // to be a file of its own. Both are held to the end.
    *outcome = RestoreOutcome::Restored;
    const bool gameThere = isRegularFile(gamePath);
    File gameLock;
    File backupLock;
    File game;
    std::vector<ChangedRun> runs;
    if ((gameThere && (!lockExecutable(gamePath, &gameLock, err) ||
                       !checkGame(gamePath, backupPath, backup.get(), outcome, &game, &runs, err))) ||
        !lockExecutable(backupPath, &backupLock, err)) {
        return false;
    }
    removeLeftovers(gamePath);
    if (*outcome == RestoreOutcome::AlreadyEqual) {
        return true;
    }
    // The game is put back where it is, through any link, so that it keeps
    // its owner, its attributes and its other names, and a folder that may
    // not be written is no obstacle; the backup stays, so a run killed
    // part-way is mended by the next. A missing game is made anew.
    const bool restored =
        gameThere ? writeBackRuns(game.get(), runs, offset, changedBeside, &reason) && closeFile(&game, &reason)
                  : copyOver(backupPath, gamePath, nullptr, note, &reason);
    if (!restored) {
        *err = "could not copy " + backupPath + " to " + gamePath + ": " + reason;
        return false;
    }
    return true;
}
