#include "run/restore_run.h"

#include <iostream>
#include <sstream>

#include "files/backup_copy.h"
#include "files/backup_restore.h"
#include "files/game_files.h"
#include "files/offset_table.h"
#include "files/player_text.h"
#include "run/patch_run.h"

int runRestore(const std::string& backupPath) {
    RestoreOutcome outcome = RestoreOutcome::Restored;
    std::string note;
    std::string err;
    // A backup kept through a small update holds an earlier version: the
    // restore puts those bytes back too, besides the patch's four.
    const std::string gamePath = gamePathOf(backupPath);
    std::int32_t offset = kDefaultPatchOffset;
    std::ostringstream quiet;
    if (offsetFromGameFolder(loadOffsetTable(kUpdateFileName, &offset, quiet))) {
        loadOffsetBesideGame(gamePath, &offset, quiet);
    }
    std::int64_t more = 0;
    if (!restoreFromBackup(backupPath, offset, &outcome, &more, &note, &err)) {
        std::cout << "Not restored: " << printable(err);
        return waitForEnter(1);
    }
    if (outcome == RestoreOutcome::AlreadyEqual) {
        std::cout << printable(gamePath) << " already equals " << printable(backupPath) << ": nothing to restore";
    } else {
        std::cout << "Restored " << printable(gamePath) << " from " << printable(backupPath);
        if (more > 0) {
            std::cout << "\nThe backup holds an earlier version of the game: " << more
                      << " more bytes than the patch's were put back too, which undoes the game's last update. "
                      << "Steam's \"Verify integrity of game files\" brings the update back.";
        }
    }
    if (!note.empty()) {
        std::cout << "\nNote: could not sync the folder of " << printable(gamePath) << ": " << printable(note);
    }
    return waitForEnter();
}
