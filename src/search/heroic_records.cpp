#include "search/heroic_records.h"

#include "search/store_records.h"

namespace fs = std::filesystem;

namespace {

// Heroic's configuration folder: native, and Flatpak's (the Steam Deck's).
const char* const kHeroicConfigs[] = {".config/heroic", ".var/app/com.heroicgameslauncher.hgl/config/heroic"};

// {"installed": [{"appName": "...", "install_path": "...", ...}, ...]}
void addGogInstalls(const fs::path& config, const nlohmann::json& record, std::vector<HeroicInstall>* games) {
    const auto installed = record.is_object() ? record.find("installed") : record.end();
    if (installed == record.end() || !installed->is_array()) {
        return;
    }
    for (const nlohmann::json& game : *installed) {
        games->push_back({config, textMember(game, "appName"), recordedFolder(textMember(game, "install_path"))});
    }
}

// {"<app name>": {"install_path": "...", ...}, ...}
void addLegendaryInstalls(const fs::path& config, const nlohmann::json& record, std::vector<HeroicInstall>* games) {
    if (!record.is_object()) {
        return;
    }
    for (const auto& game : record.items()) {
        games->push_back({config, game.key(), recordedFolder(textMember(game.value(), "install_path"))});
    }
}

} // namespace

std::vector<HeroicInstall> heroicInstalls(const fs::path& home) {
    std::vector<HeroicInstall> games;
    for (const char* folder : kHeroicConfigs) {
        const fs::path config = home / folder;
        addGogInstalls(config, readJsonRecord(config / "gog_store" / "installed.json"), &games);
        addLegendaryInstalls(config, readJsonRecord(config / "legendaryConfig" / "legendary" / "installed.json"),
                             &games);
    }
    std::vector<HeroicInstall> usable;
    for (HeroicInstall& game : games) {
        if (!game.folder.empty() && usable.size() < kMaxRecordedFolders) {
            usable.push_back(std::move(game));
        }
    }
    return usable;
}

std::vector<fs::path> heroicInstallFolders(const fs::path& home) {
    std::vector<fs::path> folders;
    for (const HeroicInstall& game : heroicInstalls(home)) {
        folders.push_back(game.folder);
    }
    return folders;
}
