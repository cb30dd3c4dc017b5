#pragma once

#include <string>

// Puts the game back from the backup at `backupPath` and tells the player
// how that went, then waits for Enter like every run. Returns 0 when the
// game is now the backup, 1 when it was refused (nothing changed).
int runRestore(const std::string& backupPath);
