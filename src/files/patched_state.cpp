#include "files/patched_state.h"

#include <filesystem>

#include <nlohmann/json.hpp>

#include "files/text_file.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "search/store_records.h"

namespace {

// The games remembered: the last few that were patched.
constexpr std::size_t kMaxGames = 16;

std::string statePath() {
    const std::string state = userStateFolder();
    return state.empty() ? "" : state + kPathSeparator + "gorv-patcher" + kPathSeparator + "patched.json";
}

nlohmann::json readState(const std::string& path) {
    nlohmann::json state = readJsonRecord(std::filesystem::u8path(path));
    return state.is_array() ? state : nlohmann::json::array();
}

// A member of an entry, read as what it must be: a state file edited by
// hand reads as no note, never as a fault.
std::int64_t numberIn(const nlohmann::json& entry, const char* key) {
    const auto member = entry.find(key);
    return member != entry.end() && member->is_number_integer() ? member->get<std::int64_t>() : -1;
}
std::string textIn(const nlohmann::json& entry, const char* key) {
    const auto member = entry.find(key);
    return member != entry.end() && member->is_string() ? member->get<std::string>() : "";
}

// The file's stamp (identity, size, times); empty where it has none.
std::string stampOf(const std::string& path) {
    std::string stamp;
    std::string ignored;
    return fileStamp(path, &stamp, &ignored) ? stamp : "";
}

// The entry for the game, as the file it names is now.
nlohmann::json entryOf(const std::string& gamePath, std::int64_t offset, bool* stamped) {
    const std::string game = finalPath(gamePath);
    const std::string stamp = stampOf(game);
    *stamped = !stamp.empty();
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(std::filesystem::u8path(game), error).u8string();
    return {{"game", absolute}, {"offset", offset}, {"stamp", stamp}};
}

// The earlier entry of the same game, if any.
nlohmann::json sameGame(const nlohmann::json& state, const nlohmann::json& entry) {
    for (const nlohmann::json& other : state) {
        if (other.is_object() && textIn(other, "game") == textIn(entry, "game")) {
            return other;
        }
    }
    return nullptr;
}

} // namespace

void rememberPatched(const std::string& gamePath, std::int64_t offset, const std::string& backupPath,
                     std::int64_t earlierOffset) {
    const std::string path = statePath();
    bool stamped = false;
    nlohmann::json entry = entryOf(gamePath, offset, &stamped);
    if (path.empty() || !stamped) {
        return;
    }
    const nlohmann::json known = readState(path);
    if (earlierOffset >= 0 && earlierOffset != offset) {
        entry["earlier"] = {{"offset", earlierOffset}, {"stamp", stampOf(backupPath)}};
    }
    nlohmann::json state = nlohmann::json::array({entry});
    for (const nlohmann::json& other : known) {
        if (state.size() < kMaxGames && other.is_object() && textIn(other, "game") != textIn(entry, "game")) {
            state.push_back(other);
        }
    }
    std::string ignored;
    if (makeFolders(folderOf(path), &ignored)) {
        replaceWithText(path, state.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n", &ignored);
    }
}

bool isAsPatched(const std::string& gamePath, std::int64_t offset) {
    bool stamped = false;
    const nlohmann::json entry = entryOf(gamePath, offset, &stamped);
    if (!stamped) {
        return false;
    }
    const nlohmann::json before = sameGame(readState(statePath()), entry);
    return before.is_object() && numberIn(before, "offset") == offset &&
           textIn(before, "stamp") == textIn(entry, "stamp");
}

bool wasPatchedAt(const std::string& gamePath, std::int64_t offset) {
    bool stamped = false;
    const nlohmann::json before = sameGame(readState(statePath()), entryOf(gamePath, offset, &stamped));
    return before.is_object() && numberIn(before, "offset") == offset;
}

std::int64_t earlierOffsetOf(const std::string& gamePath, const std::string& backupPath, std::int64_t offset) {
    bool stamped = false;
    const nlohmann::json before = sameGame(readState(statePath()), entryOf(gamePath, offset, &stamped));
    if (!before.is_object() || numberIn(before, "offset") != offset || !before.contains("earlier")) {
        return offset;
    }
    const nlohmann::json& earlier = before["earlier"];
    const std::string stamp = stampOf(backupPath);
    return earlier.is_object() && !stamp.empty() && textIn(earlier, "stamp") == stamp &&
                   numberIn(earlier, "offset") >= 0
               ? numberIn(earlier, "offset")
               : offset;
}
