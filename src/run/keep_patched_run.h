#pragma once

#include <iostream>
#include <string>

// Keeping the game patched through its launcher: the tool sets its own
// launch line in Steam's and Heroic's settings for the game, and takes it
// back.

/// --keep-patched SIZE [GAME] sets the line for the screen SIZE
/// (WIDTHxHEIGHT), naming `program` where given (a program of the
/// player's own), else a copy of this one; --keep-patched off [GAME] takes
/// back what it set. The
/// game is GAME, else gorv.exe in the working folder, else the one that the
/// search finds. With an empty `size`, the width and the height are asked
/// for as the dialogue asks for them, and the game among several. Returns
/// 0 when every launcher of the game has the line (or has it no more), 1
/// when one has not, 2 for a size that is no screen's.
int runKeepPatched(const std::string& size, const std::string& gamePath, const std::string& program,
                   std::ostream& out = std::cout);

/// For the windowed build started on its own: offers, in a Yes/No box, to
/// keep the game that Steam installed patched for the primary screen, and
/// says in a box what came of a Yes. False, with nothing shown, where there
/// is nothing to offer (no such game, no screen size) or the answer is No.
bool offerToKeepPatched();
