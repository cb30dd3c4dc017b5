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

// The entry for the game, as the file it names is now; its stamp is empty
// where the file has none.
nlohmann::json entryOf(const std::string& gamePath, std::int64_t offset) {
    const std::string game = finalPath(gamePath);
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(std::filesystem::u8path(game), error).u8string();
    return {{"game", absolute}, {"offset", offset}, {"stamp", stampOf(game)}};
}

// What the state notes of the game that `now` (entryOf) stands for, where
// that is a patch at the same offset; null otherwise.
nlohmann::json noteOf(const nlohmann::json& state, const nlohmann::json& now) {
    for (const nlohmann::json& other : state) {
        if (other.is_object() && textIn(other, "game") == textIn(now, "game")) {
            return numberIn(other, "offset") == numberIn(now, "offset") ? other : nullptr;
        }
    }
    return nullptr;
}

} // namespace

void rememberPatched(const std::string& gamePath, std::int64_t offset, const std::string& backupPath,
                     std::int64_t earlierOffset) {
    const std::string path = statePath();
    nlohmann::json entry = entryOf(gamePath, offset);
    if (path.empty() || textIn(entry, "stamp").empty()) {
        return;
    }
    if (earlierOffset >= 0 && earlierOffset != offset) {
        entry["earlier"] = {{"offset", earlierOffset}, {"stamp", stampOf(backupPath)}};
    }
    nlohmann::json state = nlohmann::json::array({entry});
    for (const nlohmann::json& other : readState(path)) {
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
    const nlohmann::json now = entryOf(gamePath, offset);
    const nlohmann::json note = noteOf(readState(statePath()), now);
    return !textIn(now, "stamp").empty() && note.is_object() && textIn(note, "stamp") == textIn(now, "stamp");
}

bool wasPatchedAt(const std::string& gamePath, std::int64_t offset) {
    return noteOf(readState(statePath()), entryOf(gamePath, offset)).is_object();
}

std::int64_t earlierOffsetOf(const std::string& gamePath, const std::string& backupPath, std::int64_t offset) {
    const nlohmann::json note = noteOf(readState(statePath()), entryOf(gamePath, offset));
    if (!note.is_object() || !note.contains("earlier") || !note["earlier"].is_object()) {
        return offset;
    }
    const nlohmann::json& earlier = note["earlier"];
    const std::string stamp = stampOf(backupPath);
    const std::int64_t place = numberIn(earlier, "offset");
    return !stamp.empty() && textIn(earlier, "stamp") == stamp && place >= 0 ? place : offset;
}
