#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

// A value that a new version of a file holds somewhere else than the
// earlier version did (an update recompiled the game): found again from
// the bytes around it in the earlier version, or not at all.

/// How many bytes on each side of a value are compared.
constexpr std::size_t kSurroundingBytes = 128;
/// The least agreement (see surroundingsAgreement) that two places must
/// reach to be taken for one: above what unrelated programs reach by chance.
constexpr double kMinAgreement = 0.55;
/// How far a best match's agreement must lead the next one's.
constexpr double kMinLead = 0.15;
/// More places than this that hold the value, in either version, cannot be
/// told apart (a value such as 1.0 in a large game).
constexpr std::size_t kMaxPlaces = 256;

/// How well the bytes around a place in the new version agree with those
/// around the value in the earlier one, from 0 to 1. Each side is read
/// outwards from the value (`before` nearest byte first). A byte of the
/// earlier side counts as found again when it lies in a run of 4 bytes,
/// not all alike, that stands on the same side in the new version at most
/// 32 bytes nearer or further: what recompiling keeps, around addresses and
/// pointers that change in a few bytes, and code or data put in between.
/// Near bytes weigh more than far ones.
double surroundingsAgreement(const std::string& earlierBefore, const std::string& earlierAfter,
                             const std::string& currentBefore, const std::string& currentAfter);

/// Why no place was taken.
enum class MoveRefusal {
    None,        // a place was taken
    SameVersion, // nothing was looked for: the two files are one version
    NoPlace,     // no place of the new version holds the bytes, or none agrees enough
    TwoAlike,    // two places of the new version agree about as well
    OtherMatch,  // the best place matches another place of the earlier version as well or better
    Vanished,    // every place of the new version matches another place of the earlier version
    Unmatched,   // another place of the new version matches none of the earlier ones: it may be the value
    TooMany,     // too many places hold the bytes
};

/// What the search found: the place taken, or why none was.
struct MovedValue {
    std::int64_t offset = -1; // the value's place in the new version; -1: none taken
    double agreement = 0.0;   // the best place's agreement with the value's place
    MoveRefusal refusal = MoveRefusal::None;
    std::string reason; // why no place was taken, for the player
};

/// Looks in `current` (the new version) for the place of the 4 bytes that
/// `earlier` holds at `earlierOffset`, reading each file once from its
/// start. Every place that holds those bytes in either version is weighed
/// against every place in the other by its surroundings, and a place is
/// taken only as a clear mutual best match: the best of the value's own
/// place by kMinLead over every other place of the new version, with the
/// value's place the best of it by kMinLead over every other place of the
/// earlier version, at least kMinAgreement alike, and with no other place
/// of the new version left that matches no place of the earlier version.
/// Only the places that `earlierCounts` and `currentCounts` take count (all,
/// where none is given): the game's own, not its debug information.
/// False, with *err, when a file could not be read.
bool findMovedValue(std::FILE* earlier, std::int64_t earlierOffset, std::FILE* current, MovedValue* found,
                    std::string* err, const std::function<bool(std::int64_t offset)>& earlierCounts = nullptr,
                    const std::function<bool(std::int64_t offset)>& currentCounts = nullptr);
