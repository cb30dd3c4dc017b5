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

// The entry for the game, as the file it names is now.
nlohmann::json entryOf(const std::string& gamePath, std::int64_t offset, bool* stamped) {
    std::string stamp;
    std::string ignored;
    const std::string game = finalPath(gamePath);
    *stamped = fileStamp(game, &stamp, &ignored);
    std::error_code error;
    const std::string absolute = std::filesystem::absolute(std::filesystem::u8path(game), error).u8string();
    return {{"game", absolute}, {"offset", offset}, {"stamp", stamp}};
}

} // namespace

void rememberPatched(const std::string& gamePath, std::int64_t offset) {
    const std::string path = statePath();
    bool stamped = false;
    const nlohmann::json entry = entryOf(gamePath, offset, &stamped);
    if (path.empty() || !stamped) {
        return;
    }
    nlohmann::json state = nlohmann::json::array({entry});
    for (const nlohmann::json& other : readState(path)) {
        if (state.size() < kMaxGames && other.is_object() && other.value("game", "") != entry["game"]) {
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
    for (const nlohmann::json& other : readState(statePath())) {
        if (other == entry) {
            return true;
        }
    }
    return false;
}
