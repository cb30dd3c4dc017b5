#pragma once

#include <string>

/// Copies the executable at `path` to `path` + ".backup" and sets
/// *backupPath to that. The copy goes to a temporary file of its own first
/// and replaces an earlier backup only once it is complete and on disk, so
/// a failed run never costs the last good backup. On failure *err says
/// what could not be copied, and why.
bool backupExecutable(const std::string& path, std::string* backupPath, std::string* err);
