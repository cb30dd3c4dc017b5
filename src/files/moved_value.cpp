#include "files/moved_value.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "files/backup_copy.h"
#include "platform/file_system.h"

namespace {

constexpr std::size_t kGram = 4;
constexpr std::size_t kShift = 8;
// The new version is read in blocks of this size.
constexpr std::size_t kBlockSize = std::size_t{1} << 16;
// More places than this that hold the value cannot be told apart in good
// time (a value such as 1.0 in a large game).
constexpr std::size_t kMaxPlaces = 65536;

// A byte at `distance` from the value weighs this much.
double weightAt(std::size_t distance) {
    return 16.0 / (16.0 + static_cast<double>(distance));
}

// Marks the bytes of `earlier` found again in `current` (see
// surroundingsAgreement) and adds their weights and all weights up.
void agreeSide(const std::string& earlier, const std::string& current, double* found, double* total) {
    std::vector<bool> covered(earlier.size(), false);
    for (std::size_t i = 0; i + kGram <= earlier.size(); ++i) {
        const char* const gram = earlier.data() + i;
        if (std::all_of(gram, gram + kGram, [gram](char c) { return c == gram[0]; })) {
            continue; // padding and zeros are everywhere
        }
        const std::size_t first = i > kShift ? i - kShift : 0;
        for (std::size_t j = first; j <= i + kShift && j + kGram <= current.size(); ++j) {
            if (current.compare(j, kGram, gram, kGram) == 0) {
                std::fill(covered.begin() + static_cast<std::ptrdiff_t>(i),
                          covered.begin() + static_cast<std::ptrdiff_t>(i + kGram), true);
                break;
            }
        }
    }
    for (std::size_t distance = 0; distance < earlier.size(); ++distance) {
        *total += weightAt(distance);
        *found += covered[distance] ? weightAt(distance) : 0.0;
    }
}

// The bytes before `position` in `bytes` (nearest first) and after the 4
// at it, up to kSurroundingBytes each.
void surroundings(const std::string& bytes, std::size_t position, std::string* before, std::string* after) {
    const std::size_t start = position > kSurroundingBytes ? position - kSurroundingBytes : 0;
    before->assign(bytes.rbegin() + static_cast<std::ptrdiff_t>(bytes.size() - position),
                   bytes.rbegin() + static_cast<std::ptrdiff_t>(bytes.size() - start));
    *after = bytes.substr(std::min(bytes.size(), position + kGram), kSurroundingBytes);
}

std::string percent(double share) {
    return std::to_string(static_cast<int>(share * 100.0 + 0.5)) + "%";
}

} // namespace

double surroundingsAgreement(const std::string& earlierBefore, const std::string& earlierAfter,
                             const std::string& currentBefore, const std::string& currentAfter) {
    double found = 0.0;
    double total = 0.0;
    agreeSide(earlierBefore, currentBefore, &found, &total);
    agreeSide(earlierAfter, currentAfter, &found, &total);
    return total > 0.0 ? found / total : 0.0;
}

bool findMovedValue(std::FILE* earlier, std::int64_t earlierOffset, std::FILE* current, MovedValue* found,
                    std::string* err) {
    *found = MovedValue{};
    // One version patched or edited a little is no update.
    BackupMatch match = BackupMatch::OtherGame;
    if (!seekTo(earlier, 0, err) || !seekTo(current, 0, err) || !compareWithBackup(current, earlier, &match, err)) {
        return false;
    }
    if (match != BackupMatch::OtherGame) {
        found->reason = "it is this version of the game";
        found->sameVersion = true;
        return true;
    }
    // The value and its surroundings in the earlier version.
    const std::int64_t start = std::max<std::int64_t>(0, earlierOffset - static_cast<std::int64_t>(kSurroundingBytes));
    std::string window(static_cast<std::size_t>(earlierOffset - start) + kGram + kSurroundingBytes, '\0');
    std::size_t count = 0;
    if (!readAt(earlier, start, &window[0], window.size(), &count, err)) {
        return false;
    }
    window.resize(count);
    const std::size_t at = static_cast<std::size_t>(earlierOffset - start);
    if (count < at + kGram) {
        found->reason = "it ends before the value";
        return true;
    }
    const std::string value = window.substr(at, kGram);
    std::string earlierBefore;
    std::string earlierAfter;
    surroundings(window, at, &earlierBefore, &earlierAfter);

    // One pass over the new version, in blocks, keeping the bytes that the
    // next place's surroundings may need.
    if (!seekTo(current, 0, err)) {
        return false;
    }
    std::string bytes;       // the new version from `first` on
    std::int64_t first = 0;  // where `bytes` starts in the file
    std::size_t scanned = 0; // places in `bytes` before this one are done
    std::size_t places = 0;
    double second = 0.0;
    std::vector<char> block(kBlockSize);
    bool ended = false;
    while (!ended) {
        if (!readSome(current, block.data(), block.size(), &count, err)) {
            return false;
        }
        ended = count == 0;
        bytes.append(block.data(), count);
        // A place is weighed once its surroundings are all read.
        const std::size_t limit =
            ended ? bytes.size() : bytes.size() - std::min(bytes.size(), kGram + kSurroundingBytes);
        for (std::size_t place = bytes.find(value, scanned); place != std::string::npos && place < limit;
             place = bytes.find(value, place + 1)) {
            if (++places > kMaxPlaces) {
                found->offset = -1;
                found->reason = "more than " + std::to_string(kMaxPlaces) + " places hold its 4 bytes";
                return true;
            }
            std::string before;
            std::string after;
            surroundings(bytes, place, &before, &after);
            const double agreement = surroundingsAgreement(earlierBefore, earlierAfter, before, after);
            if (found->offset < 0 || agreement > found->agreement) {
                second = found->offset < 0 ? second : found->agreement;
                found->offset = first + static_cast<std::int64_t>(place);
                found->agreement = agreement;
            } else {
                second = std::max(second, agreement);
            }
        }
        scanned = std::max(scanned, limit);
        // Keep what the places from `scanned` on need before them.
        const std::size_t keep = scanned > kSurroundingBytes ? scanned - kSurroundingBytes : 0;
        bytes.erase(0, keep);
        first += static_cast<std::int64_t>(keep);
        scanned -= keep;
    }
    if (places == 0) {
        found->reason = "no place in the game holds its 4 bytes";
    } else if (found->agreement < kMinAgreement) {
        found->reason = places == 1 ? "the one place that holds its 4 bytes has other surroundings (" +
                                          percent(found->agreement) + " alike)"
                                    : "none of the " + std::to_string(places) +
                                          " places that hold its 4 bytes has its surroundings (at best " +
                                          percent(found->agreement) + " alike)";
    } else if (found->agreement - second < kMinLead) {
        found->reason = "two places that hold its 4 bytes have its surroundings about as well (" +
                        percent(found->agreement) + " and " + percent(second) + " alike)";
    } else {
        return true;
    }
    found->offset = -1;
    return true;
}
