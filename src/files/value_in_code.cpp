#include "files/value_in_code.h"

#include <algorithm>

#include "files/moved_value.h"
#include "platform/file_system.h"
#include "ratio/screen_shapes.h"

namespace {

// The least agreement of two uses' code to be taken for one: above what
// unrelated code of the corpus reaches.
constexpr double kMinCodeAgreement = 0.7;
// How far a use's best match must lead the next one.
constexpr double kMinCodeLead = 0.1;
// The least agreement of a call of the value's function and one of the
// function found in its place for the code to be taken alone.
constexpr double kMinCallerAgreement = 0.5;
// How far the best call of the value's function must lead the calls of the
// function found for its calls to be taken to go elsewhere.
constexpr double kMinCallLead = 0.2;
// Past this many calls in the new version, only those set up alike are
// weighed against the value's function's calls.
constexpr std::size_t kMaxCallsWeighed = 20000;
// A use with less code than this around it in its function tells nothing
// alone.
constexpr std::size_t kMinCodeBytes = 32;
// More uses than this of places that hold the value cannot be told apart.
constexpr std::size_t kMaxUses = 512;
constexpr std::size_t kValueSize = 4;
constexpr std::int64_t kValueStep = 4;
// The largest constant that one instruction loads.
constexpr std::int64_t kConstantSize = 16;

std::uint32_t byteAt(const std::string& bytes, std::size_t at) {
    return static_cast<unsigned char>(bytes[at]);
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8 | byteAt(bytes, at + 2) << 16 | byteAt(bytes, at + 3) << 24;
}

// Marks the fields of the code that hold an address or a target: what a
// rebuild changes when anything before or after moves.
std::vector<bool> addressFieldsOf(const std::string& code, const PeSection& section, const PeImage& image) {
    std::vector<bool> marked(code.size(), false);
    const auto mark = [&marked](std::size_t at, std::size_t size) {
        for (std::size_t k = at; k < at + size && k < marked.size(); ++k) {
            marked[k] = true;
        }
    };
    for (auto relocation = std::lower_bound(image.relocations.begin(), image.relocations.end(), section.address);
         relocation != image.relocations.end() && *relocation < section.address + code.size(); ++relocation) {
        mark(*relocation - section.address, image.is64 ? 8 : 4);
    }
    for (std::size_t i = 0; i < code.size(); ++i) {
        if (marked[i]) {
            continue;
        }
        const std::uint32_t c = byteAt(code, i);
        std::size_t field = 0;
        if (c == 0xE8 || c == 0xE9) { // call, jmp rel32
            field = i + 1;
        } else if (c == 0x0F && i + 1 < code.size() && (byteAt(code, i + 1) & 0xF0) == 0x80) { // jcc rel32
            field = i + 2;
        } else if (image.is64 && (c & 0xC7) == 0x05) { // a ModRM byte of [rip + disp32]
            field = i + 1;
        } else {
            continue;
        }
        mark(field, 4);
        i = field + 3;
    }
    return marked;
}

// A use of a place holding the value: a field in the code that refers to
// it, or the immediate that is it.
struct Use {
    std::size_t section = 0;
    std::size_t at = 0;     // where the field or immediate stands in the section
    std::int64_t place = 0; // the file offset of the place it uses
    std::size_t begin = 0;  // the code it is compared in: its function, else its section
    std::size_t end = 0;
    bool inside = false;      // it refers to a larger constant (or a table) that holds the place
    std::int64_t target = -1; // the place it refers to (the constant's start); -1 for an immediate
};

std::size_t sectionIndexAt(const ProgramVersion& version, std::int64_t offset) {
    const PeSection* section = sectionAtOffset(version.image, offset);
    return section == nullptr ? version.image.sections.size()
                              : static_cast<std::size_t>(section - version.image.sections.data());
}

// The 4 bytes at `offset` in a loaded section; empty where there are none.
// Code is in memory; data is read from the file where it is asked for.
std::string fourBytesAt(const ProgramVersion& version, std::int64_t offset) {
    const std::size_t index = sectionIndexAt(version, offset);
    if (index == version.image.sections.size() || !version.image.sections[index].isLoaded()) {
        return "";
    }
    const PeSection& section = version.image.sections[index];
    const auto at = static_cast<std::size_t>(offset - section.fileOffset);
    if (at + kValueSize > section.fileSize) {
        return "";
    }
    if (section.isCode()) {
        return version.bytes[index].substr(at, kValueSize);
    }
    std::string bytes(kValueSize, '\0');
    std::size_t count = 0;
    std::string ignored;
    return readAt(version.file, offset, &bytes[0], bytes.size(), &count, &ignored) && count == kValueSize ? bytes : "";
}

// The code that a use at `at` of section `index` is compared in.
void boundsOf(const ProgramVersion& version, std::size_t index, std::size_t at, Use* use) {
    const PeSection& section = version.image.sections[index];
    use->begin = 0;
    use->end = version.bytes[index].size();
    const PeFunction* function = functionAt(version.image, section.address + static_cast<std::uint32_t>(at));
    if (function != nullptr && function->begin >= section.address) {
        use->begin = function->begin - section.address;
        use->end = std::min<std::size_t>(use->end, function->end - section.address);
    }
}

// A use at `at` of section `index`, compared in the code around it.
Use useAt(const ProgramVersion& version, std::size_t index, std::size_t at, std::int64_t place, bool inside = false,
          std::int64_t target = -1) {
    Use use{index, at, place, 0, 0, inside, target};
    boundsOf(version, index, at, &use);
    return use;
}

// Every call (E8 rel32) in the code: where its target field stands, and
// the address (RVA) it goes to.
template <typename Take> void forEachCall(const ProgramVersion& version, Take take) {
    for (std::size_t index = 0; index < version.image.sections.size(); ++index) {
        const PeSection& section = version.image.sections[index];
        const std::string& code = version.bytes[index];
        for (std::size_t at = 1; section.isCode() && at + kValueSize <= code.size(); ++at) {
            if (byteAt(code, at - 1) == 0xE8 && version.addressFields[index][at]) {
                take(index, at,
                     std::int64_t{section.address} + static_cast<std::int64_t>(at + kValueSize) +
                         static_cast<std::int32_t>(le32(code, at)));
            }
        }
    }
}

// Every field of the code that refers to a place of data: RIP-relative on
// x64, a relocated absolute address on 32 bits.
template <typename Take> void forEachReference(const ProgramVersion& version, Take take) {
    const PeImage& image = version.image;
    for (std::size_t index = 0; index < image.sections.size(); ++index) {
        const PeSection& section = image.sections[index];
        const std::string& code = version.bytes[index];
        if (!section.isCode() || code.empty()) {
            continue;
        }
        const std::vector<bool>& fields = version.addressFields[index];
        if (image.is64) {
            for (std::size_t at = 1; at + kValueSize <= code.size(); ++at) {
                if (fields[at] && !fields[at - 1] && (byteAt(code, at - 1) & 0xC7) == 0x05) {
                    const auto displacement = static_cast<std::int32_t>(le32(code, at));
                    const std::int64_t target =
                        std::int64_t{section.address} + static_cast<std::int64_t>(at + kValueSize) + displacement;
                    std::int64_t offset = 0;
                    if (target >= 0 && offsetOfAddress(image, static_cast<std::uint64_t>(target), &offset)) {
                        take(index, at, offset);
                    }
                }
            }
            continue;
        }
        for (auto relocation = std::lower_bound(image.relocations.begin(), image.relocations.end(), section.address);
             relocation != image.relocations.end() && *relocation + kValueSize <= section.address + code.size();
             ++relocation) {
            const std::size_t at = *relocation - section.address;
            const std::uint64_t address = le32(code, at);
            std::int64_t offset = 0;
            if (address >= image.imageBase && offsetOfAddress(image, address - image.imageBase, &offset)) {
                take(index, at, offset);
            }
        }
    }
}

// Every immediate in the code that holds one of `values`.
template <typename Take>
void forEachImmediate(const ProgramVersion& version, const std::vector<std::string>& values, Take take) {
    for (std::size_t index = 0; index < version.image.sections.size(); ++index) {
        const PeSection& section = version.image.sections[index];
        const std::string& code = version.bytes[index];
        if (!section.isCode()) {
            continue;
        }
        std::vector<std::size_t> found;
        for (const std::string& value : values) {
            for (std::size_t at = code.find(value); at != std::string::npos; at = code.find(value, at + 1)) {
                found.push_back(at);
            }
        }
        std::sort(found.begin(), found.end());
        for (const std::size_t at : found) {
            const std::int64_t offset = section.fileOffset + static_cast<std::int64_t>(at);
            if (valueSiteAt(version, offset) == ValueSite::Immediate) {
                take(index, at, offset);
            }
        }
    }
}

// Every use of a place that holds one of `values`: the fields that refer
// to it, or to a constant of up to 16 bytes that holds it (a vector, or
// two members stored at once: such a use is `inside`), and the
// immediates that are it.
std::vector<Use> usesOf(const ProgramVersion& version, const std::vector<std::string>& values) {
    std::vector<Use> uses;
    forEachReference(version, [&](std::size_t index, std::size_t at, std::int64_t target) {
        for (std::int64_t inside = 0; inside < kConstantSize; inside += kValueStep) {
            const std::string bytes = fourBytesAt(version, target + inside);
            if (!bytes.empty() && std::find(values.begin(), values.end(), bytes) != values.end()) {
                uses.push_back(useAt(version, index, at, target + inside, inside > 0, target));
            }
        }
    });
    forEachImmediate(version, values, [&](std::size_t index, std::size_t at, std::int64_t place) {
        uses.push_back(useAt(version, index, at, place));
    });
    return uses;
}

// The code on each side of a use, within its function, outwards from the
// field (the nearest byte first), with its address fields set to one
// marker, so that code that only moved reads the same.
void maskedSides(const ProgramVersion& version, const Use& use, std::string* before, std::string* after) {
    const std::string& code = version.bytes[use.section];
    const std::vector<bool>& fields = version.addressFields[use.section];
    const auto masked = [&code, &fields](std::size_t at) { return fields[at] ? '\xA5' : code[at]; };
    before->clear();
    after->clear();
    for (std::size_t k = 1; k <= kSurroundingBytes && use.at >= use.begin + k; ++k) {
        *before += masked(use.at - k);
    }
    for (std::size_t at = use.at + kValueSize; at < use.end && at < use.at + kValueSize + kSurroundingBytes; ++at) {
        *after += masked(at);
    }
}

// How alike the code around two uses is, from 0 to 1, as the moved
// value's search weighs the bytes around a value (surroundingsAgreement),
// over the masked code.
double codeAgreement(const ProgramVersion& one, const Use& a, const ProgramVersion& other, const Use& b) {
    std::string beforeA;
    std::string afterA;
    std::string beforeB;
    std::string afterB;
    maskedSides(one, a, &beforeA, &afterA);
    maskedSides(other, b, &beforeB, &afterB);
    return surroundingsAgreement(beforeA, afterA, beforeB, afterB);
}

// Whether the code around `a` within its function is too short to tell
// alone, and the code around it across its function's bounds is not like
// that around `b` either.
bool isTooShortToTell(const ProgramVersion& one, const Use& a, const ProgramVersion& other, const Use& b) {
    std::string before;
    std::string after;
    maskedSides(one, a, &before, &after);
    if (before.size() + after.size() >= kMinCodeBytes) {
        return false;
    }
    Use wideA = a;
    Use wideB = b;
    wideA.begin = wideB.begin = 0;
    wideA.end = one.bytes[a.section].size();
    wideB.end = other.bytes[b.section].size();
    return codeAgreement(one, wideA, other, wideB) < kMinCodeAgreement;
}

std::string percent(double share) {
    return std::to_string(static_cast<int>(share * 100.0 + 0.5)) + "%";
}

// What the uses of the value's place in one version say of the other.
struct UseMatches {
    std::vector<std::int64_t> places;                       // where the clear mutual best matches of its uses point
    std::vector<std::pair<std::size_t, std::size_t>> pairs; // those matches: a use of mine, one of theirs
    std::vector<std::int64_t> candidates;                   // where the uses that match about as well as the best point
    std::vector<std::int64_t> newPlaces;                    // places used by code like none of the earlier version's
    std::vector<std::int64_t> anchored; // places beside a neighbour that code refers to alike in both versions
    double best = 0.0;                  // the best agreement of a use of the value's place
};

// Weighs every use of `mine` (the uses of places that hold the value in
// the earlier version, `self` the value's own) against every use of
// `theirs`. False where there are too many to weigh.
bool matchUses(const ProgramVersion& from, const std::vector<Use>& mine, std::int64_t self, const ProgramVersion& to,
               const std::vector<Use>& theirs, UseMatches* matches) {
    *matches = UseMatches{};
    if (mine.size() > kMaxUses || theirs.size() > kMaxUses) {
        return false;
    }
    std::vector<std::vector<double>> score(mine.size(), std::vector<double>(theirs.size()));
    for (std::size_t i = 0; i < mine.size(); ++i) {
        for (std::size_t j = 0; j < theirs.size(); ++j) {
            score[i][j] = codeAgreement(from, mine[i], to, theirs[j]);
        }
    }
    const auto note = [](std::vector<std::int64_t>* list, std::int64_t place) {
        if (std::find(list->begin(), list->end(), place) == list->end()) {
            list->push_back(place);
        }
    };
    // Whether the instruction of `use` refers to `place` too.
    const auto refersTo = [&theirs](const Use& use, std::int64_t place) {
        return std::any_of(theirs.begin(), theirs.end(), [&use, place](const Use& other) {
            return other.section == use.section && other.at == use.at && other.place == place;
        });
    };
    for (std::size_t i = 0; i < mine.size(); ++i) {
        if (mine[i].place != self) {
            continue;
        }
        // The best use that the earlier version does not explain otherwise
        // (any, where it explains all); of equal ones, one of the place
        // itself.
        const auto explainedFor = [&](std::size_t j) {
            for (std::size_t k = 0; k < mine.size(); ++k) {
                if (mine[k].place != self && score[k][j] > score[i][j]) {
                    return true;
                }
            }
            return false;
        };
        const auto bestAmong = [&](bool unexplainedOnly) {
            std::size_t best = theirs.size();
            for (std::size_t j = 0; j < theirs.size(); ++j) {
                if (unexplainedOnly && explainedFor(j)) {
                    continue;
                }
                best = best == theirs.size() || score[i][j] > score[i][best] ||
                               (score[i][j] == score[i][best] && theirs[best].inside && !theirs[j].inside &&
                                theirs[j].place == theirs[best].place)
                           ? j
                           : best;
            }
            return best;
        };
        std::size_t best = bestAmong(true);
        best = best < theirs.size() ? best : bestAmong(false);
        const double top = score[i][best];
        matches->best = std::max(matches->best, top);
        if (top < kMinCodeAgreement) {
            continue;
        }
        // Uses of one place are one answer: the lead counts over the uses
        // of other places that the earlier version does not explain (code
        // that is more like the use of another place of the earlier
        // version, as a photo camera's like its own). Another place whose
        // code is like the value's, and is explained by nothing else, may
        // be where the value went: no place is clear then.
        double second = 0.0;
        for (std::size_t j = 0; j < theirs.size(); ++j) {
            // An instruction that refers to the place found too (as the
            // constant it loads, or one that holds both) is no rival.
            if (theirs[j].inside && theirs[j].place != theirs[best].place && refersTo(theirs[j], theirs[best].place)) {
                continue;
            }
            if (theirs[j].place == theirs[best].place) {
                if (score[i][j] > top - kMinCodeLead) {
                    note(&matches->candidates, theirs[j].place);
                }
                continue;
            }
            if (!explainedFor(j)) {
                second = std::max(second, score[i][j]);
                if (score[i][j] > top - kMinCodeLead || score[i][j] >= kMinCodeAgreement) {
                    note(&matches->candidates, theirs[j].place);
                }
            }
        }
        // Mutual: no use of another place of the earlier version is as much
        // like the one found, unless its own best is clearly elsewhere.
        bool mutual = top - second >= kMinCodeLead && second < kMinCodeAgreement;
        for (std::size_t k = 0; k < mine.size(); ++k) {
            const double own = *std::max_element(score[k].begin(), score[k].end());
            mutual = mutual && (mine[k].place == self || score[k][best] <= top - kMinCodeLead ||
                                score[k][best] <= own - kMinCodeLead);
        }
        // A use of a larger constant, or of a table, that holds the place
        // may be one of its other entries: a candidate only. Where it
        // refers to the same neighbour of the place in both versions, the
        // place stands where it stood beside that neighbour.
        if (mutual && mine[i].inside && theirs[best].inside &&
            mine[i].place - mine[i].target == theirs[best].place - theirs[best].target) {
            note(&matches->anchored, theirs[best].place);
        }
        if (mutual && !mine[i].inside && !theirs[best].inside) {
            note(&matches->places, theirs[best].place);
            matches->pairs.emplace_back(i, best);
        }
    }
    // A place of the other version that code like none of this version's
    // uses: new code of its own, or the value's code rewritten.
    for (std::size_t j = 0; j < theirs.size(); ++j) {
        double top = 0.0;
        for (std::size_t i = 0; i < mine.size(); ++i) {
            top = std::max(top, score[i][j]);
        }
        if (top < kMinCodeAgreement) {
            note(&matches->newPlaces, theirs[j].place);
        }
    }
    // Where the value's code is found again nowhere clearly, those are as
    // likely as the places it is found about as well in.
    if (matches->places.empty() && !matches->candidates.empty()) {
        for (const std::int64_t place : matches->newPlaces) {
            note(&matches->candidates, place);
        }
    }
    return true;
}

// The function that a use stands in; null where the program has no
// function table.
const PeFunction* functionOf(const ProgramVersion& version, const Use& use) {
    return functionAt(version.image, version.image.sections[use.section].address + static_cast<std::uint32_t>(use.at));
}

// Every call of the function that starts at `address`, as a use of its
// target field, compared in its caller's code.
std::vector<Use> callsOf(const ProgramVersion& version, std::uint32_t address) {
    std::vector<Use> calls;
    forEachCall(version, [&](std::size_t index, std::size_t at, std::int64_t target) {
        if (target == std::int64_t{address}) {
            calls.push_back(useAt(version, index, at, 0));
        }
    });
    return calls;
}

// What the calls of the function that holds `mine` say of the function
// that holds `theirs`.
enum class Calls {
    SayNothing, // no function, no call seen (inlined, through a pointer), or calls alike
    Otherwise,  // the function found is called otherwise than the value's was
    Elsewhere,  // the value's function's calls now go, clearly, to another function
};

// A function that takes the value's function's place is called from where
// that was; a copy of the value's old code in a new function (a photo
// mode's, while the value's own function now computes it) is not. Each
// call of the earlier function is weighed against the calls of the new
// version (in a large program, those set up alike in the 4 bytes before
// the call): "elsewhere" where the best goes to another function, at least
// kMinCallerAgreement alike and kMinCallLead ahead of every call of the
// function found (*agreement is its agreement): a caller's code changes
// with the update as much as any. "Otherwise" where no call of the one is
// kMinCallerAgreement like a call of the other.
Calls compareCalls(const ProgramVersion& from, const Use& mine, const ProgramVersion& to, const Use& theirs,
                   double* agreement) {
    const PeFunction* was = functionOf(from, mine);
    const PeFunction* is = functionOf(to, theirs);
    *agreement = 0.0;
    if (was == nullptr || is == nullptr) {
        return Calls::SayNothing;
    }
    const std::vector<Use> before = callsOf(from, was->begin);
    if (before.empty()) {
        return Calls::SayNothing;
    }
    if (before.size() <= kMaxUses) {
        std::vector<std::pair<Use, std::int64_t>> calls;
        forEachCall(to, [&](std::size_t index, std::size_t at, std::int64_t target) {
            calls.emplace_back(Use{index, at, 0, 0, 0, false}, target);
        });
        for (const Use& call : before) {
            const std::string& code = from.bytes[call.section];
            const std::string lead = call.at >= 5 ? code.substr(call.at - 5, 4) : "";
            double toFound = 0.0;
            double best = 0.0;
            std::int64_t bestTarget = 0;
            for (const auto& [place, target] : calls) {
                if (calls.size() > kMaxCallsWeighed &&
                    (place.at < 5 || lead.empty() || to.bytes[place.section].compare(place.at - 5, 4, lead) != 0)) {
                    continue;
                }
                const double score = codeAgreement(from, call, to, useAt(to, place.section, place.at, 0));
                if (target == std::int64_t{is->begin}) {
                    toFound = std::max(toFound, score);
                } else if (score > best) {
                    best = score;
                    bestTarget = target;
                }
            }
            if (best >= kMinCallerAgreement && best - toFound >= kMinCallLead &&
                bestTarget != std::int64_t{is->begin}) {
                *agreement = best;
                return Calls::Elsewhere;
            }
        }
    }
    const std::vector<Use> now = callsOf(to, is->begin);
    if (now.empty() || before.size() * now.size() > kMaxCallsWeighed) {
        return Calls::SayNothing;
    }
    for (const Use& a : before) {
        for (const Use& b : now) {
            if (codeAgreement(from, a, to, b) >= kMinCallerAgreement) {
                return Calls::SayNothing;
            }
        }
    }
    return Calls::Otherwise;
}

} // namespace

bool readProgramVersion(std::FILE* file, ProgramVersion* version, std::string* err) {
    *version = ProgramVersion{};
    if (!readPeImage(file, &version->image, err)) {
        return false;
    }
    version->file = file;
    for (const PeSection& section : version->image.sections) {
        std::string bytes;
        if (section.isLoaded() && section.isCode()) {
            bytes.assign(section.fileSize, '\0');
            for (std::size_t done = 0; done < bytes.size();) {
                std::size_t count = 0;
                if (!readAt(file, section.fileOffset + static_cast<std::int64_t>(done), &bytes[done],
                            bytes.size() - done, &count, err)) {
                    return false;
                }
                if (count == 0) {
                    *err = "its section " + section.name + " lies beyond the file's end";
                    return false;
                }
                done += count;
            }
        }
        version->addressFields.push_back(section.isCode() ? addressFieldsOf(bytes, section, version->image)
                                                          : std::vector<bool>(bytes.size(), false));
        version->bytes.push_back(std::move(bytes));
    }
    // Without a function table (32 bits), the functions are where calls go,
    // each up to the next.
    if (version->image.functions.empty()) {
        std::vector<std::uint32_t> starts;
        forEachCall(*version, [&](std::size_t index, std::size_t, std::int64_t target) {
            const PeSection& section = version->image.sections[index];
            if (target >= section.address &&
                target < std::int64_t{section.address} + static_cast<std::int64_t>(version->bytes[index].size())) {
                starts.push_back(static_cast<std::uint32_t>(target));
            }
        });
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        for (std::size_t k = 0; k + 1 < starts.size(); ++k) {
            version->image.functions.push_back(PeFunction{starts[k], starts[k + 1]});
        }
    }
    return true;
}

bool isLoadedPlace(const ProgramVersion& version, std::int64_t offset) {
    return fourBytesAt(version, offset).size() == kValueSize;
}

ValueSite valueSiteAt(const ProgramVersion& version, std::int64_t offset) {
    const std::size_t index = sectionIndexAt(version, offset);
    if (!isLoadedPlace(version, offset)) {
        return ValueSite::Neither;
    }
    const PeSection& section = version.image.sections[index];
    if (!section.isCode()) {
        return ValueSite::Data;
    }
    const std::string& code = version.bytes[index];
    const auto at = static_cast<std::size_t>(offset - section.fileOffset);
    const auto back = [&code, at](std::size_t distance) {
        return distance <= at ? byteAt(code, at - distance) : 0x100;
    };
    // mov r32, imm32 (B8+r); push imm32 (68)
    if ((back(1) >= 0xB8 && back(1) <= 0xBF) || back(1) == 0x68) {
        return ValueSite::Immediate;
    }
    // mov r/m32, imm32 (C7 /0): the ModRM byte, then a SIB byte and a
    // displacement as it says, then the immediate.
    for (std::size_t distance = 2; distance <= 7; ++distance) {
        const std::uint32_t modrm = back(distance - 1);
        if (back(distance) != 0xC7 || modrm > 0xFF || (modrm & 0x38) != 0) {
            continue;
        }
        const std::uint32_t mod = modrm >> 6;
        const std::uint32_t rm = modrm & 7;
        std::size_t length = 0; // what follows the ModRM byte before the immediate
        if (mod == 3) {
            length = 0;
        } else if (rm == 4) {
            const std::uint32_t base = back(distance - 2) & 7;
            length = 1 + (mod == 1 ? 1 : mod == 2 || (mod == 0 && base == 5) ? 4 : 0);
        } else {
            length = mod == 1 ? 1 : mod == 2 || (mod == 0 && rm == 5) ? 4 : 0;
        }
        if (distance == 2 + length) {
            return ValueSite::Immediate;
        }
    }
    return ValueSite::Neither;
}

std::vector<std::string> screenShapeBytes() {
    std::vector<std::string> shapes;
    for (const PatchValue& shape : screenShapeValues()) {
        shapes.emplace_back(shape.begin(), shape.end());
    }
    return shapes;
}

std::vector<std::int64_t> placesUsedByCode(const ProgramVersion& version, const std::string& value) {
    std::vector<std::int64_t> places;
    for (const Use& use : usesOf(version, {value})) {
        if (!use.inside) {
            places.push_back(use.place);
        }
    }
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    return places;
}

CodeMatch findThroughCode(const ProgramVersion& from, std::int64_t fromOffset, const ProgramVersion& to,
                          const std::vector<std::string>& values) {
    CodeMatch match;
    const std::string value = fourBytesAt(from, fromOffset);
    const ValueSite site = valueSiteAt(from, fromOffset);
    if (value.empty() || site == ValueSite::Neither) {
        match.reason = "the value is in nothing the earlier version loads";
        return match;
    }
    // Both kinds of use in both versions: a value may move between data
    // and an instruction (a member stored with its neighbour as one
    // constant), and the code around it tells where.
    const std::vector<Use> mine = usesOf(from, {value});
    const std::vector<Use> theirs = usesOf(to, values);
    const bool used =
        std::any_of(mine.begin(), mine.end(), [fromOffset](const Use& use) { return use.place == fromOffset; });
    const char* const what = site == ValueSite::Data ? "the code that loads it" : "the function that holds it";
    if (!used) {
        match.reason = "no code of the earlier version loads it";
        return match;
    }
    if (theirs.empty()) {
        match.reason = "no code of the game uses a place that may hold it";
        return match;
    }
    UseMatches matches;
    if (!matchUses(from, mine, fromOffset, to, theirs, &matches)) {
        match.reason = "more than " + std::to_string(kMaxUses) + " instructions use places that hold it";
        return match;
    }
    const std::vector<std::int64_t>& places = matches.places;
    match.candidates = matches.candidates;
    if (places.size() > 1) {
        match.refused = true;
        match.reason = std::string(what) + " points at two places in the game, offsets " + std::to_string(places[0]) +
                       " and " + std::to_string(places[1]);
        return match;
    }
    // An update that left the value where it was, among neighbours that
    // the same code refers to, while its own code changed.
    if (places.empty() && matches.candidates == std::vector<std::int64_t>{fromOffset} &&
        std::find(matches.anchored.begin(), matches.anchored.end(), fromOffset) != matches.anchored.end()) {
        match.offset = fromOffset;
        match.how = "the code that uses what stands beside it";
        return match;
    }
    if (places.empty()) {
        match.reason =
            std::string(what) +
            (matches.candidates.empty() ? " is not found again in the game"
                                        : " is found again about as well in " +
                                              std::to_string(matches.candidates.size()) + " places of the game") +
            " (at best " + percent(matches.best) + " alike)";
        return match;
    }
    // Code too short to tell apart (a getter that loads the value and
    // returns, alike in any program) is a candidate only: the bytes around
    // the value must agree.
    if (std::all_of(matches.pairs.begin(), matches.pairs.end(), [&](const std::pair<std::size_t, std::size_t>& pair) {
            return isTooShortToTell(from, mine[pair.first], to, theirs[pair.second]);
        })) {
        match.unsure = "only in code too short to tell apart from other code";
    }
    // A function called otherwise than the value's was may be a copy of its
    // code: the bytes around the value must then agree too.
    for (const auto& pair : matches.pairs) {
        double agreement = 0.0;
        const Calls calls = compareCalls(from, mine[pair.first], to, theirs[pair.second], &agreement);
        if (calls == Calls::Elsewhere) {
            match.refused = true;
            match.reason = std::string(what) + " is found again in a function that the value's callers do not " +
                           "call (they call another, " + percent(agreement) +
                           " alike): it may be a copy of the old code";
            return match;
        }
        if (calls == Calls::Otherwise && match.unsure.empty()) {
            match.unsure = "in a function that is called otherwise";
        }
    }
    match.offset = places.front();
    match.how = what;
    return match;
}

double bestCodeAgreement(const ProgramVersion& from, std::int64_t fromOffset, const ProgramVersion& other) {
    const std::string value = fourBytesAt(from, fromOffset);
    if (value.empty()) {
        return 0.0;
    }
    // The value's own uses, against the uses of the places the search
    // weighs: those that hold a screen's shape.
    std::vector<Use> mine;
    for (const Use& use : usesOf(from, {value})) {
        if (use.place == fromOffset && !use.inside) {
            mine.push_back(use);
        }
    }
    std::vector<Use> theirs = usesOf(other, screenShapeBytes());
    theirs.erase(std::remove_if(theirs.begin(), theirs.end(), [](const Use& use) { return use.inside; }), theirs.end());
    double best = 0.0;
    for (const Use& a : mine) {
        for (const Use& b : theirs) {
            best = std::max(best, codeAgreement(from, a, other, b));
        }
    }
    return best;
}
