#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// A value that a new version of a file holds somewhere else than the
// earlier version did (an update recompiled the game): found again from
// the bytes around it in the earlier version, or not at all.

/// How many bytes on each side of a value are compared.
constexpr std::size_t kSurroundingBytes = 64;
/// The least agreement (see surroundingsAgreement) that a place must reach.
constexpr double kMinAgreement = 0.25;
/// How far the best place's agreement must lead every other place's.
constexpr double kMinLead = 0.15;

/// How well the bytes around a place in the new version agree with those
/// around the value in the earlier one, from 0 to 1. Each side is read
/// outwards from the value (`before` nearest byte first). A byte of the
/// earlier side counts as found again when it lies in a run of 4 bytes,
/// not all alike, that stands on the same side in the new version at most
/// 8 bytes nearer or further: what recompiling keeps, around addresses and
/// pointers that change in a few bytes, and code or data put in between.
/// Near bytes weigh more than far ones.
double surroundingsAgreement(const std::string& earlierBefore, const std::string& earlierAfter,
                             const std::string& currentBefore, const std::string& currentAfter);

/// What the search found: the place taken, or why none was.
struct MovedValue {
    std::int64_t offset = -1; // the value's place in the new version; -1: none taken
    double agreement = 0.0;   // the best place's agreement
    std::string reason;       // why no place was taken
    bool sameVersion = false; // no place was looked for: the two files are one version
};

/// Looks in `current` (the new version, read once from its start) for the
/// place of the 4 bytes that `earlier` holds at `earlierOffset`: among the
/// places that hold exactly those bytes, the one whose surroundings agree
/// with the earlier version's at least kMinAgreement, and by kMinLead more
/// than every other place's. No place is taken (found->reason says why)
/// when the two files are one version (see compareWithBackup), no place
/// holds the bytes, none agrees enough, or two agree about as well. False,
/// with *err, when a file could not be read.
bool findMovedValue(std::FILE* earlier, std::int64_t earlierOffset, std::FILE* current, MovedValue* found,
                    std::string* err);
