#include "run/restore_run.h"

#include <iostream>

#include "files/backup_copy.h"
#include "files/backup_restore.h"
#include "files/player_text.h"
#include "run/patch_run.h"

int runRestore(const std::string& backupPath) {
    RestoreOutcome outcome = RestoreOutcome::Restored;
    std::string note;
    std::string err;
    if (!restoreFromBackup(backupPath, &outcome, &note, &err)) {
        std::cout << "Not restored: " << printable(err);
        return waitForEnter(1);
    }
    const std::string gamePath = gamePathOf(backupPath);
    if (outcome == RestoreOutcome::AlreadyEqual) {
        std::cout << printable(gamePath) << " already equals " << printable(backupPath) << ": nothing to restore";
    } else {
        std::cout << "Restored " << printable(gamePath) << " from " << printable(backupPath);
    }
    if (!note.empty()) {
        std::cout << "\nNote: could not sync the folder of " << printable(gamePath) << ": " << printable(note);
    }
    return waitForEnter();
}
