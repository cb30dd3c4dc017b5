#pragma once

#include <optional>
#include <string>

// One whole use of the tool: the dialogue, the backup and the patch.
// Always returns 0.
int runPatcher();

// Prints the prompt and reads lines until one is a valid dimension, which
// it returns as typed; re-prompts on anything else. Empty when standard
// input ends first.
std::optional<std::string> readDimension(const std::string& prompt, const std::string& rePrompt);

// True for a non-empty text of the digits 0 to 9 only.
bool isAllDigits(const std::string& text);

// The screen dimension a text stands for: all digits, and from 1 up to the
// largest value that stays below 2^32 in single precision (4294967167).
std::optional<float> parseDimension(const std::string& text);
