#include "search/heroic_records.h"

#include "search/store_records.h"

namespace fs = std::filesystem;

namespace {

// Heroic's configuration folder: native, and Flatpak's (the Steam Deck's).
const char* const kHeroicConfigs[] = {".config/heroic", ".var/app/com.heroicgameslauncher.hgl/config/heroic"};

// {"installed": [{"install_path": "...", ...}, ...]}
void addGogInstalls(const nlohmann::json& record, std::vector<fs::path>* folders) {
    const auto installed = record.is_object() ? record.find("installed") : record.end();
    if (installed == record.end() || !installed->is_array()) {
        return;
    }
    for (const nlohmann::json& game : *installed) {
        addRecordedFolder(textMember(game, "install_path"), folders);
    }
}

// {"<app name>": {"install_path": "...", ...}, ...}
void addLegendaryInstalls(const nlohmann::json& record, std::vector<fs::path>* folders) {
    if (!record.is_object()) {
        return;
    }
    for (const auto& game : record.items()) {
        addRecordedFolder(textMember(game.value(), "install_path"), folders);
    }
}

} // namespace

std::vector<fs::path> heroicInstallFolders(const fs::path& home) {
    std::vector<fs::path> folders;
    for (const char* config : kHeroicConfigs) {
        addGogInstalls(readJsonRecord(home / config / "gog_store" / "installed.json"), &folders);
        addLegendaryInstalls(readJsonRecord(home / config / "legendaryConfig" / "legendary" / "installed.json"),
                             &folders);
    }
    return folders;
}
