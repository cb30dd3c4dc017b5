#include "files/value_place.h"

#include <algorithm>
#include <iomanip>
#include <sstream>

#include "files/backup_copy.h"
#include "files/game_files.h"
#include "files/moved_value.h"
#include "files/patch_writer.h"
#include "files/patched_state.h"
#include "files/player_text.h"
#include "files/value_in_code.h"
#include "platform/file_system.h"
#include "ratio/patch_value.h"
#include "ratio/screen_shapes.h"

namespace {

// The most places of the earlier version, of those that hold the game's
// value, that are followed forward to confirm a new update file.
constexpr std::size_t kMaxPlacesFollowedForward = 8;

// "00 00 80 3F (1)", in file order, with the float they read as.
std::string bytesText(const PatchValue& value) {
    std::ostringstream text;
    text << std::hex << std::uppercase << std::setfill('0');
    for (const std::uint8_t byte : value) {
        text << (text.tellp() > 0 ? " " : "") << std::setw(2) << static_cast<unsigned>(byte);
    }
    text << std::dec << std::nouppercase << " (" << ratioOf(value) << ")";
    return text.str();
}

std::string asBytes(const PatchValue& value) {
    return std::string(value.begin(), value.end());
}

// Reads the 4 bytes at `offset`; false where the file ends before them.
bool readValue(std::FILE* file, std::int64_t offset, PatchValue* value, std::string* err) {
    std::size_t count = 0;
    return readAt(file, offset, reinterpret_cast<char*>(value->data()), value->size(), &count, err) &&
           count == value->size();
}

// One version of the game, open, with its layout where it is a Windows
// program.
struct Version {
    File file;
    bool isProgram = false;
    ProgramVersion program;
};

bool openVersion(const std::string& path, bool followLink, Version* version, std::string* err) {
    if (!openRegularFileForReading(path, followLink, &version->file, err)) {
        return false;
    }
    std::string ignored;
    version->isProgram =
        looksLikePe(version->file.get()) && readProgramVersion(version->file.get(), &version->program, &ignored);
    return true;
}

// Where `from`'s value at `offset` is in `to`: the code that uses it and
// the bytes around it, each a witness; a clear answer of one that the
// other does not contradict is taken. `values`: what the place in `to` may
// hold.
bool follow(Version* from, std::int64_t offset, Version* to, const std::vector<std::string>& values, ValuePlace* place,
            std::string* err) {
    CodeMatch code;
    if (from->isProgram && to->isProgram) {
        code = findThroughCode(from->program, offset, to->program, values);
    }
    MovedValue bytes;
    const auto loaded = [](const Version& version) {
        return [&version](std::int64_t at) { return !version.isProgram || isLoadedPlace(version.program, at); };
    };
    if (!findMovedValue(from->file.get(), offset, to->file.get(), &bytes, err, loaded(*from), loaded(*to))) {
        return false;
    }
    // A place in a function called otherwise than the value's was is a
    // candidate only: the bytes around the value decide.
    if (code.offset >= 0 && !code.unsure.empty() && bytes.offset != code.offset) {
        code.candidates = {code.offset};
        code.reason = code.how + " is found again " + code.unsure;
        code.offset = -1;
    }
    const bool among = std::find(code.candidates.begin(), code.candidates.end(), bytes.offset) != code.candidates.end();
    if (code.refused) {
        place->reason = code.reason;
    } else if (code.offset >= 0 && bytes.offset >= 0 && code.offset != bytes.offset) {
        place->reason = code.how + " shows offset " + std::to_string(code.offset) + ", the bytes around it offset " +
                        std::to_string(bytes.offset);
    } else if (code.offset >= 0) {
        place->offset = code.offset;
        place->how = code.how + (bytes.offset >= 0 ? " and the bytes around it" : "");
    } else if (bytes.offset >= 0 && (code.candidates.empty() || among)) {
        // The bytes decide among the places the code leaves open, or alone
        // where the code has nothing to say.
        place->offset = bytes.offset;
        place->how = among ? "the bytes around it, among the places its code points at" : "the bytes around it";
    } else if (bytes.offset >= 0) {
        place->reason = "the bytes around it show offset " + std::to_string(bytes.offset) + ", but " + code.reason;
    } else {
        place->reason = code.reason.empty() ? bytes.reason : code.reason + "; " + bytes.reason;
    }
    return true;
}

// Where the game's screen's shape `current` at `offset` came from in
// `earlier`: followed back, or, where that is unclear, the place of
// `earlier` that holds the same bytes and is followed forward to `offset`
// (the search weighs how much of the earlier code is found in the later,
// so that the later version's added code costs nothing that way round).
bool followBack(Version* game, std::int64_t offset, Version* earlier, const PatchValue& current,
                const PatchValue& wanted, ValuePlace* back, std::string* err) {
    if (!follow(game, offset, earlier, screenShapeBytes(), back, err)) {
        return false;
    }
    if (back->offset >= 0 || !game->isProgram || !earlier->isProgram || current == wanted) {
        return true;
    }
    const std::vector<std::int64_t> places = placesUsedByCode(earlier->program, asBytes(current));
    for (std::size_t k = 0; k < places.size() && k < kMaxPlacesFollowedForward; ++k) {
        ValuePlace forward;
        if (!follow(earlier, places[k], game, {asBytes(current), asBytes(wanted)}, &forward, err)) {
            return false;
        }
        if (forward.offset == offset) {
            back->offset = places[k];
            return true;
        }
    }
    return true;
}

} // namespace

bool locateValue(const std::string& gamePath, const std::string& backupPath, std::int32_t offset,
                 const PatchValue& wanted, ValuePlace* place, std::string* err) {
    *place = ValuePlace{};
    Version game;
    std::string reason;
    if (!openVersion(gamePath, true, &game, &reason)) {
        *err = "could not read " + printable(gamePath) + ": " + reason;
        return false;
    }
    PatchValue current{};
    const bool reaches = readValue(game.file.get(), offset, &current, &reason);
    // The backup's own place of the value: the offset, unless an earlier
    // launch followed the value from this backup to the offset.
    const std::int64_t from = earlierOffsetOf(gamePath, backupPath, offset);
    Version earlier;
    PatchValue earlierValue{};
    std::string ignored;
    const bool hasEarlier = openVersion(backupPath, false, &earlier, &ignored) &&
                            readValue(earlier.file.get(), from, &earlierValue, &ignored);
    const std::string at = "offset " + std::to_string(offset);
    const std::string earlierAt = "offset " + std::to_string(from);

    // No version to compare with: the game itself must show the value.
    if (!hasEarlier) {
        if (!reaches) {
            readPatchBytes(gamePath, offset, &current, &place->reason);
        } else if (!isScreenShape(current)) {
            place->reason = "the 4 bytes at " + at + " of " + printable(gamePath) + " are " + bytesText(current) +
                            ", no screen's shape: the game has probably been updated and the value has moved, so a "
                            "new " +
                            kUpdateFileName + " is needed";
        } else if (game.isProgram && valueSiteAt(game.program, offset) == ValueSite::Neither) {
            place->reason = at + " of " + printable(gamePath) +
                            " is no value of the game's (it lies across an instruction, or in nothing the game "
                            "loads), so a new " +
                            kUpdateFileName + " is needed";
        } else {
            place->offset = offset;
        }
        return true;
    }
    std::int64_t changes = 0;
    if (!countChangesBeside(earlier.file.get(), game.file.get(), from, 0, &changes, &reason)) {
        *err = "could not compare it with its backup " + printable(backupPath) + ": " + reason;
        return false;
    }
    // A backup of this very version holds the game's own value.
    if (changes == 0) {
        if (isScreenShape(earlierValue)) {
            place->offset = from;
        } else {
            place->reason = "its backup " + printable(backupPath) +
                            ", this version unpatched, holds no screen's "
                            "shape at " +
                            earlierAt + " (" + bytesText(earlierValue) +
                            "), so that offset is not the game's value; a new " + kUpdateFileName + " is needed";
        }
        return true;
    }
    const std::string earlierText = "the game was updated, and its earlier version in " + printable(backupPath);
    const bool gameHasShape = reaches && isScreenShape(current);
    if (isScreenShape(earlierValue)) {
        if (!follow(&earlier, from, &game, {asBytes(earlierValue), asBytes(wanted)}, place, err)) {
            return false;
        }
        place->earlierOffset = from;
        if (place->offset < 0) {
            place->reason = earlierText + " does not show where the value at " + earlierAt + " went: " + place->reason +
                            "; a new " + kUpdateFileName + " is needed";
            return true;
        }
        // An update file that was not in use with the earlier version may
        // be made for either version: where the game holds a screen's shape
        // at the offset too, and that one came from elsewhere, either may be
        // the value.
        ValuePlace back;
        if (place->offset != offset && from == offset && gameHasShape && !wasPatchedAt(gamePath, offset) &&
            !follow(&game, offset, &earlier, screenShapeBytes(), &back, err)) {
            return false;
        }
        if (back.offset >= 0) {
            place->reason = earlierText + " holds a screen's shape at " + earlierAt + ", which went to offset " +
                            std::to_string(place->offset) + ", while the game holds one at " + at +
                            ", which was at offset " + std::to_string(back.offset) + ": the update file may be made " +
                            "for either version, so either may be the value; a new " + kUpdateFileName + " is needed";
            place->offset = -1;
        }
        return true;
    }
    // The offset may be this version's (an update file made for it, or
    // written by a launch cut short): the game's screen's shape there must
    // be found in the earlier version the same way.
    if (gameHasShape) {
        ValuePlace back;
        if (!followBack(&game, offset, &earlier, current, wanted, &back, err)) {
            return false;
        }
        if (back.offset >= 0) {
            place->offset = offset;
            place->earlierOffset = back.offset;
            return true;
        }
        place->reason = "the game holds a screen's shape at " + at + " (" + bytesText(current) + "), but " +
                        earlierText + " does not show that place: " + back.reason + "; a new " + kUpdateFileName +
                        " is needed";
        return true;
    }
    place->reason = earlierText + " holds no screen's shape at " + earlierAt + " (" + bytesText(earlierValue) +
                    "), nor does the game" + (from != offset ? " at " + at : "") +
                    (reaches ? " (" + bytesText(current) + ")" : std::string(", which ends before it")) +
                    ", so that offset is not trusted; a new " + kUpdateFileName + " is needed";
    return true;
}
