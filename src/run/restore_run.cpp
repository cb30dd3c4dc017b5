#include "run/restore_run.h"

#include <iostream>

#include "files/backup_restore.h"
#include "run/patch_run.h"

int runRestore(const std::string& backupPath) {
    RestoreOutcome outcome = RestoreOutcome::Restored;
    std::string note;
    std::string err;
    if (!restoreFromBackup(backupPath, &outcome, &note, &err)) {
        std::cout << "Not restored: " << err;
        return waitForEnter(1);
    }
    const std::string gamePath = gamePathOf(backupPath);
    if (outcome == RestoreOutcome::AlreadyEqual) {
        std::cout << gamePath << " already equals " << backupPath << ": nothing to restore";
    } else {
        std::cout << "Restored " << gamePath << " from " << backupPath;
    }
    if (!note.empty()) {
        std::cout << "\nNote: could not sync the folder of " << gamePath << ": " << note;
    }
    return waitForEnter();
}
