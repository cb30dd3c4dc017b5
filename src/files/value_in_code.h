#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "files/pe_image.h"

// A value of the game found again in a new version through the code that
// uses it, not only the bytes around it: a value in the game's data
// through the instructions that load it (RIP-relative on x64, a relocated
// absolute address on 32 bits), a value inside an instruction through the
// function that holds it. Code that did not change reads the same in both
// versions once the fields that hold addresses are masked (a call's or
// jump's target, a displacement, a relocated address), however much moved
// around it.

/// A version of the game, as the search needs it: its layout, and the
/// bytes of its code with their address fields marked; its data is read
/// from the file where it is asked for, so that memory grows with the
/// code alone.
struct ProgramVersion {
    PeImage image;
    std::FILE* file = nullptr;                    // the program, open while the version is used
    std::vector<std::string> bytes;               // per section: its bytes in the file (loaded code only)
    std::vector<std::vector<bool>> addressFields; // per code section: which bytes hold an address or target
};

/// Reads the layout and the code of the Windows program in `file`, which
/// must stay open while the version is used. False, with the reason, for
/// a file that is no Windows program or whose layout does not fit in it.
bool readProgramVersion(std::FILE* file, ProgramVersion* version, std::string* err);

/// What the program's layout says of the 4 bytes at `offset`.
enum class ValueSite {
    Data,      // in a loaded section of data
    Immediate, // the last 4 bytes of an instruction that moves or pushes them
    Neither,   // across an instruction, or in nothing the game loads
};
ValueSite valueSiteAt(const ProgramVersion& version, std::int64_t offset);

/// Whether the 4 bytes at `offset` lie in what the game loads (not its
/// headers, debug information or what follows its sections).
bool isLoadedPlace(const ProgramVersion& version, std::int64_t offset);

/// Every screen's shape (isScreenShape), as the 4 bytes a game holds.
std::vector<std::string> screenShapeBytes();

/// The places of loaded data or immediates that code of `version` uses
/// which hold `value`, in file order.
std::vector<std::int64_t> placesUsedByCode(const ProgramVersion& version, const std::string& value);

/// What the code says of the value's place in the other version.
struct CodeMatch {
    std::int64_t offset = -1;             // the place taken; -1: none
    std::string unsure;                   // why the code alone does not tell (the bytes must agree); empty: it does
    std::string how;                      // how it was found, for the log
    bool refused = false;                 // the code contradicts itself: nothing may be taken
    std::string reason;                   // why no place was taken
    std::vector<std::int64_t> candidates; // where the value's code is found again about as well as at best
};

/// Looks in `to` for the value that `from` holds at `fromOffset`, through
/// the code that uses it, among the places of `to` that hold one of
/// `values` (4 bytes each: the same value, or any screen's shape). A place
/// is taken only as a clear mutual best match of the value's own code,
/// where every matched use agrees on it and no other place is used by code
/// like the value's that the earlier version does not explain otherwise
/// (the value may have gone there, beside a legacy copy). Where no place
/// is clear, the candidates are those about as alike as the best.
CodeMatch findThroughCode(const ProgramVersion& from, std::int64_t fromOffset, const ProgramVersion& to,
                          const std::vector<std::string>& values);
