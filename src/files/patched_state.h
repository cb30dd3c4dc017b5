#pragma once

#include <cstdint>
#include <string>

// What the tool last left patched, kept in the user's state folder: a game
// that is still that very file is set, and a launch need not look further
// than its 4 bytes. A game that changed since in any way (an update, a
// copy put back) is looked at in full.

/// Notes that the game at `gamePath`, as it is now, is patched at
/// `offset`. A note that cannot be written costs the next launch a full
/// look, nothing more.
void rememberPatched(const std::string& gamePath, std::int64_t offset);

/// Whether the game at `gamePath` is, unchanged, the file that the tool
/// last patched at `offset`.
bool isAsPatched(const std::string& gamePath, std::int64_t offset);
