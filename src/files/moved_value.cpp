#include "files/moved_value.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "files/backup_copy.h"
#include "platform/file_system.h"

namespace {

constexpr std::size_t kGram = 4;
constexpr std::size_t kShift = 32;
// The new version is read in blocks of this size.
constexpr std::size_t kBlockSize = std::size_t{1} << 16;

// A byte at `distance` from the value weighs this much.
double weightAt(std::size_t distance) {
    return 8.0 / (8.0 + static_cast<double>(distance));
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

// A place that holds the value, and the bytes around it.
struct Place {
    std::int64_t offset;
    std::string before;
    std::string after;
};

// Every place of `file` that holds `value`, read once from its start in
// blocks, keeping only the bytes that the next place's surroundings may
// need. *tooMany when more than kMaxPlaces do (`places` then holds the
// first ones).
bool placesOf(std::FILE* file, const std::string& value, const std::function<bool(std::int64_t)>& counts,
              std::vector<Place>* places, bool* tooMany, std::string* err) {
    places->clear();
    *tooMany = false;
    if (!seekTo(file, 0, err)) {
        return false;
    }
    std::string bytes;       // the file from `first` on
    std::int64_t first = 0;  // where `bytes` starts in the file
    std::size_t scanned = 0; // places in `bytes` before this one are done
    std::vector<char> block(kBlockSize);
    bool ended = false;
    while (!ended) {
        std::size_t count = 0;
        if (!readSome(file, block.data(), block.size(), &count, err)) {
            return false;
        }
        ended = count == 0;
        bytes.append(block.data(), count);
        // A place is taken once its surroundings are all read.
        const std::size_t limit =
            ended ? bytes.size() : bytes.size() - std::min(bytes.size(), kGram + kSurroundingBytes);
        for (std::size_t at = bytes.find(value, scanned); at != std::string::npos && at < limit;
             at = bytes.find(value, at + 1)) {
            if (places->size() == kMaxPlaces) {
                *tooMany = true;
                return true;
            }
            Place place{first + static_cast<std::int64_t>(at), {}, {}};
            if (counts && !counts(place.offset)) {
                continue;
            }
            surroundings(bytes, at, &place.before, &place.after);
            places->push_back(std::move(place));
        }
        scanned = std::max(scanned, limit);
        const std::size_t keep = scanned > kSurroundingBytes ? scanned - kSurroundingBytes : 0;
        bytes.erase(0, keep);
        first += static_cast<std::int64_t>(keep);
        scanned -= keep;
    }
    return true;
}

// The best and the second-best score of a row or a column, and where the
// best is.
struct Best {
    std::size_t index = 0;
    double score = -1.0;
    double second = 0.0;
};
template <typename Score> Best bestOf(std::size_t count, Score score) {
    Best best;
    for (std::size_t i = 0; i < count; ++i) {
        const double value = score(i);
        if (value > best.score) {
            best.second = std::max(best.second, best.score);
            best.index = i;
            best.score = value;
        } else {
            best.second = std::max(best.second, value);
        }
    }
    return best;
}

std::string offsetText(const Place& place) {
    return "offset " + std::to_string(place.offset);
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
                    std::string* err, const std::function<bool(std::int64_t offset)>& earlierCounts,
                    const std::function<bool(std::int64_t offset)>& currentCounts) {
    *found = MovedValue{};
    const auto refuse = [found](MoveRefusal refusal, const std::string& reason) {
        found->offset = -1;
        found->refusal = refusal;
        found->reason = reason;
        return true;
    };
    // One version, patched at the value or not, is no update. Any other
    // change is, however small: the value may have moved a few bytes.
    std::int64_t changes = 0;
    if (!countChangesBeside(earlier, current, earlierOffset, 0, &changes, err)) {
        return false;
    }
    if (changes == 0) {
        return refuse(MoveRefusal::SameVersion, "it is this version of the game");
    }
    std::string value(kGram, '\0');
    std::size_t count = 0;
    if (!readAt(earlier, earlierOffset, &value[0], value.size(), &count, err)) {
        return false;
    }
    if (count < kGram) {
        return refuse(MoveRefusal::NoPlace, "it ends before the value");
    }
    if (earlierCounts && !earlierCounts(earlierOffset)) {
        return refuse(MoveRefusal::NoPlace, "its place there is in nothing the game loads");
    }

    // Every place of each version that holds the value, each weighed
    // against every place of the other.
    std::vector<Place> was;
    std::vector<Place> is;
    bool tooMany = false;
    bool tooManyNow = false;
    if (!placesOf(earlier, value, earlierCounts, &was, &tooMany, err) ||
        !placesOf(current, value, currentCounts, &is, &tooManyNow, err)) {
        return false;
    }
    if (tooMany || tooManyNow) {
        return refuse(MoveRefusal::TooMany, "more than " + std::to_string(kMaxPlaces) + " places hold its 4 bytes");
    }
    const auto own = std::find_if(was.begin(), was.end(),
                                  [earlierOffset](const Place& place) { return place.offset == earlierOffset; }) -
                     was.begin();
    const std::size_t self = static_cast<std::size_t>(own);
    if (self == was.size()) {
        return refuse(MoveRefusal::NoPlace, "its place was not found again in it");
    }
    if (is.empty()) {
        return refuse(MoveRefusal::NoPlace, "no place in the game holds its 4 bytes");
    }
    std::vector<std::vector<double>> score(was.size(), std::vector<double>(is.size()));
    for (std::size_t i = 0; i < was.size(); ++i) {
        for (std::size_t j = 0; j < is.size(); ++j) {
            score[i][j] = surroundingsAgreement(was[i].before, was[i].after, is[j].before, is[j].after);
        }
    }
    // A place of the new version that some place of the earlier version
    // matches, and which one matches it best.
    const auto matchOf = [&score, &was](std::size_t j) {
        return bestOf(was.size(), [&score, j](std::size_t i) { return score[i][j]; });
    };

    const Best best = bestOf(is.size(), [&score, self](std::size_t j) { return score[self][j]; });
    found->agreement = best.score;
    // Vanished: every place is more like another place of the earlier
    // version than like the value's (a twin that is exactly as alike is no
    // proof: the refusals below name it).
    bool vanished = true;
    for (std::size_t j = 0; j < is.size(); ++j) {
        const Best other = matchOf(j);
        vanished = vanished && other.index != self && other.score >= kMinAgreement && score[self][j] < other.score;
    }
    if (vanished) {
        return refuse(MoveRefusal::Vanished,
                      "the value vanished: " +
                          (is.size() == 1 ? std::string("the one place that holds its 4 bytes is")
                                          : "the " + std::to_string(is.size()) + " places that hold its 4 bytes are") +
                          " like other places of the earlier version, not like the value's");
    }
    if (best.score < kMinAgreement) {
        return refuse(MoveRefusal::NoPlace, is.size() == 1 ? "the one place that holds its 4 bytes has other "
                                                             "surroundings (" +
                                                                 percent(best.score) + " alike)"
                                                           : "none of the " + std::to_string(is.size()) +
                                                                 " places that hold its 4 bytes has its surroundings "
                                                                 "(at best " +
                                                                 percent(best.score) + " alike)");
    }
    if (best.score - best.second < kMinLead) {
        return refuse(MoveRefusal::TwoAlike, "two places that hold its 4 bytes have its surroundings about as well (" +
                                                 percent(best.score) + " and " + percent(best.second) + " alike)");
    }
    const Best back =
        bestOf(was.size(), [&score, &best, self](std::size_t i) { return i == self ? -1.0 : score[i][best.index]; });
    if (was.size() > 1 && best.score - back.score < kMinLead) {
        return refuse(MoveRefusal::OtherMatch,
                      "the place most like it, at " + offsetText(is[best.index]) + " (" + percent(best.score) +
                          " alike), is as much or more like the earlier version's place at " +
                          offsetText(was[back.index]) + " (" + percent(back.score) + " alike)");
    }
    for (std::size_t j = 0; j < is.size(); ++j) {
        if (j != best.index && matchOf(j).score < kMinAgreement) {
            return refuse(MoveRefusal::Unmatched, "the place at " + offsetText(is[j]) +
                                                      " is like none of the earlier version's places, and the value "
                                                      "may have moved there");
        }
    }
    found->offset = is[best.index].offset;
    return true;
}
