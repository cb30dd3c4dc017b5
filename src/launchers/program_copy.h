#pragma once

#include <cstdint>
#include <string>

#include "launchers/keep_record.h"

// The copy of the program that a launch line names for good: placed by
// the tool, and replaced only where the tool placed it.

/// The size of the file at `path` and a hash of its bytes (FNV-1a, 64 bits,
/// in hex), enough to tell the copy the tool placed from any other file.
bool fileFingerprint(const std::string& path, std::int64_t* size, std::string* hash, std::string* err);

enum class ProgramPlace {
    Kept,     // the target holds the source's bytes already, or is the source
    Free,     // nothing is there, or the copy that `record` says the tool placed
    InTheWay, // a file the tool did not place, or a link or a folder: left alone
};

/// What stands at `target`, where a copy of `source` should go; *placed is
/// what the record should note once the copy is there. False, with the
/// reason, where either cannot be read.
bool checkProgramPlace(const std::string& source, const std::string& target, const KeepRecord& record,
                       ProgramPlace* place, PlacedProgram* placed, std::string* err);

/// Puts a copy of `source` at `target` (its folders made): complete and
/// synced before the call returns, in a temporary that then takes the
/// name. On failure *err says why.
bool copyProgram(const std::string& source, const std::string& target, std::string* err);
