#pragma once

#include <string>

/// Puts a copy of the program at `source` at `target` (its folders made),
/// where a launch line can name it for good: complete and synced before
/// the call returns. A target that holds the same bytes already, or is the
/// source itself, is kept as it is. On failure *err says why.
bool placeProgram(const std::string& source, const std::string& target, std::string* err);
