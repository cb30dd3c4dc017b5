#pragma once

#include <cstdint>
#include <string>

#include "ratio/patch_value.h"

// Where the game's value is, given the offset that the update file (or the
// built-in one) names and the game's backup: the one question behind every
// patch without a question. The answer is a place and how it was found, or
// a refusal that names its case; nothing is written here.

struct ValuePlace {
    std::int64_t offset = -1;        // the value's place; -1: refused
    std::string how;                 // how a moved value was found, for the log
    std::string reason;              // why it was refused
    std::int64_t earlierOffset = -1; // where the backup, an earlier version, holds the value; -1: none
};

/// Where the value that `offset` names is in the game at `gamePath`, its
/// backup at `backupPath` being its earlier version, this version, or
/// missing:
/// - with no backup that reaches the offset, the offset itself, where the
///   game holds a screen's shape there and, in a Windows program, the
///   place is data or an instruction's immediate;
/// - with a backup of this version, the offset, where the backup holds a
///   screen's shape there;
/// - with an earlier version that holds a screen's shape at the offset,
///   the value's place in the game as the code that uses it and the bytes
///   around it show, taken only where they do not disagree and one of them
///   gives a clear answer;
/// - with an earlier version that does not, the offset, where the game
///   holds a screen's shape there that the earlier version shows the same
///   way round (an update file made for this version).
/// The backup's own place is the offset, or the one that was noted when an
/// earlier launch followed the value from that very backup to the place
/// that the update file now names.
/// `wanted`, the value a patch writes, may stand at the place already.
/// False, with *err, where a file could not be read.
bool locateValue(const std::string& gamePath, const std::string& backupPath, std::int32_t offset,
                 const PatchValue& wanted, ValuePlace* place, std::string* err);
