#include "launchers/steam_launch_options.h"

#include <vector>

#include "search/key_values.h"

namespace {

const char* const kLaunchOptions = "LaunchOptions";

// The blocks from the top to an app's block; its id comes last.
const char* const kBlocks[] = {"UserLocalConfigStore", "Software", "Valve", "Steam", "apps"};
constexpr int kPathBlocks = static_cast<int>(sizeof kBlocks / sizeof kBlocks[0]) + 1;

// Where the launch options stand in a parsed file: the blocks that are
// there on the way (the first ones), and the key itself when it is.
struct Place {
    std::vector<KeyValuesNode> nodes;
    std::vector<int> blocks; // found blocks, from the top
    int key = -1;            // the LaunchOptions key; -1 when missing
};

bool findPlace(const std::string& vdf, const std::string& appId, Place* place, std::string* err) {
    if (vdf.find('\0') != std::string::npos) {
        *err = "it holds a NUL byte, which Steam's settings never do";
        return false;
    }
    if (!parseKeyValues(vdf, &place->nodes)) {
        *err = "it is not in Steam's settings form (a brace or a quote does not match)";
        return false;
    }
    int parent = -1;
    for (int level = 0; level < kPathBlocks; ++level) {
        const std::string key = level + 1 < kPathBlocks ? kBlocks[level] : appId;
        const int found = findKeyValue(place->nodes, parent, key);
        if (found < 0) {
            break;
        }
        if (!place->nodes[static_cast<std::size_t>(found)].block) {
            *err = "its \"" + key + "\" is a value where Steam keeps a block";
            return false;
        }
        place->blocks.push_back(found);
        parent = found;
    }
    if (place->blocks.empty()) {
        *err = "it holds no UserLocalConfigStore block";
        return false;
    }
    if (static_cast<int>(place->blocks.size()) == kPathBlocks) {
        place->key = findKeyValue(place->nodes, parent, kLaunchOptions);
        if (place->key >= 0 && place->nodes[static_cast<std::size_t>(place->key)].block) {
            *err = "its LaunchOptions is a block where Steam keeps a value";
            return false;
        }
    }
    return true;
}

std::string tabs(int count) {
    return std::string(static_cast<std::size_t>(count), '\t');
}

// The blocks from `level` down to the app's, and the key in the last, as
// Steam lays them out, each line started with `lineEnd`.
std::string missingPart(int level, const std::string& appId, const std::string& value, const std::string& lineEnd) {
    if (level == kPathBlocks) {
        return lineEnd + tabs(level) + quotedKeyValue(kLaunchOptions) + "\t\t" + quotedKeyValue(value);
    }
    const std::string key = level + 1 < kPathBlocks ? kBlocks[level] : appId;
    return lineEnd + tabs(level) + quotedKeyValue(key) + lineEnd + tabs(level) + "{" +
           missingPart(level + 1, appId, value, lineEnd) + lineEnd + tabs(level) + "}";
}

const KeyValuesNode& nodeAt(const Place& place, int index) {
    return place.nodes[static_cast<std::size_t>(index)];
}

} // namespace

bool readLaunchOptions(const std::string& vdf, const std::string& appId, std::string* options, bool* present,
                       std::string* err) {
    Place place;
    if (!findPlace(vdf, appId, &place, err)) {
        return false;
    }
    *present = place.key >= 0;
    *options = *present ? nodeAt(place, place.key).value : "";
    return true;
}

bool setLaunchOptions(std::string* vdf, const std::string& appId, const std::string& options, EarlierOptions* earlier,
                      std::string* err) {
    Place place;
    if (!findPlace(*vdf, appId, &place, err)) {
        return false;
    }
    *earlier = EarlierOptions{};
    if (place.key >= 0) {
        const KeyValuesNode& key = nodeAt(place, place.key);
        earlier->present = true;
        earlier->token = vdf->substr(key.valueBegin, key.valueEnd - key.valueBegin);
        vdf->replace(key.valueBegin, key.valueEnd - key.valueBegin, quotedKeyValue(options));
        return true;
    }
    const int level = static_cast<int>(place.blocks.size());
    earlier->blocks = kPathBlocks - level;
    const std::string lineEnd = vdf->find("\r\n") != std::string::npos ? "\r\n" : "\n";
    vdf->insert(nodeAt(place, place.blocks.back()).lastEnd, missingPart(level, appId, options, lineEnd));
    return true;
}

bool putBackLaunchOptions(std::string* vdf, const std::string& appId, const EarlierOptions& earlier, std::string* err) {
    Place place;
    if (!findPlace(*vdf, appId, &place, err)) {
        return false;
    }
    if (place.key < 0) {
        return true;
    }
    const KeyValuesNode& key = nodeAt(place, place.key);
    if (earlier.present) {
        vdf->replace(key.valueBegin, key.valueEnd - key.valueBegin, earlier.token);
        return true;
    }
    // The outermost block that the tool made goes with the key while the
    // key is all that the blocks below it hold (Steam may have added more).
    std::size_t begin = key.before;
    std::size_t end = key.valueEnd;
    for (int made = 1; made <= earlier.blocks && made <= static_cast<int>(place.blocks.size()); ++made) {
        const KeyValuesNode& block = nodeAt(place, place.blocks[place.blocks.size() - static_cast<std::size_t>(made)]);
        if (block.lastEnd != end || begin != block.valueBegin + 1) {
            break;
        }
        begin = block.before;
        end = block.valueEnd;
    }
    vdf->erase(begin, end - begin);
    return true;
}
