#pragma once

#include <cstdint>
#include <string>

// What the tool last left patched, kept in the user's state folder: a game
// that is still that very file is set, and a launch need not look further
// than its 4 bytes. A game that changed since in any way (an update, a
// copy put back) is looked at in full.

/// Notes that the game at `gamePath`, as it is now, is patched at
/// `offset`; `earlierOffset`, where it is neither -1 nor `offset`, is where
/// its backup at `backupPath` (an earlier version) holds the value. A note
/// that cannot be written costs the next launch a full look, nothing more.
void rememberPatched(const std::string& gamePath, std::int64_t offset, const std::string& backupPath = "",
                     std::int64_t earlierOffset = -1);

/// Whether the tool last patched the game at `gamePath` (in this version
/// or an earlier one) at `offset`: an update file in use before an update
/// names the earlier version's place.
bool wasPatchedAt(const std::string& gamePath, std::int64_t offset);

/// Where the backup at `backupPath` holds the value that `offset` names in
/// the game at `gamePath`: after an update moved the value, the update
/// file names the new version's place, while the backup stays the earlier
/// version. `offset` itself where nothing else is known of that very
/// backup.
std::int64_t earlierOffsetOf(const std::string& gamePath, const std::string& backupPath, std::int64_t offset);

/// Whether the game at `gamePath` is, unchanged, the file that the tool
/// last patched at `offset`.
bool isAsPatched(const std::string& gamePath, std::int64_t offset);
