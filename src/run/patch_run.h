#pragma once

#include <optional>
#include <string>

// One whole use of the tool: the dialogue, the backup and the patch.
// Always returns 0.
int runPatcher();
// The same with the game at `gamePath` (a regular file), as if it had been
// picked in the open-file dialog.
int runPatcherOn(const std::string& gamePath);
// The end of every run that a player watches: asks for Enter and waits for
// it (or for the end of input). Returns `status`.
int waitForEnter(int status = 0);

// Prints the prompt and reads lines until one is a valid dimension, which
// it returns as typed; re-prompts on anything else. Empty when standard
// input ends first.
std::optional<std::string> readDimension(const std::string& prompt, const std::string& rePrompt);

// True for a non-empty text of the digits 0 to 9 only.
bool isAllDigits(const std::string& text);

// The screen dimension a text stands for: all digits, and from 1 up to the
// largest value that stays below 2^32 in single precision (4294967167).
std::optional<float> parseDimension(const std::string& text);
