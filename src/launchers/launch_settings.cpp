#include "launchers/launch_settings.h"

#include <set>

#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/registry.h"
#include "search/folders.h"
#include "search/heroic_records.h"
#include "search/steam_games.h"
#include "search/steam_library_file.h"

namespace fs = std::filesystem;

namespace {

// The Flatpaks' own folders: what their sandboxes see of the home folder.
const char* const kSteamFlatpak = ".var/app/com.valvesoftware.Steam";
const char* const kHeroicFlatpak = ".var/app/com.heroicgameslauncher.hgl";

const char* const kSteamProcessKey = "Software\\Valve\\Steam\\ActiveProcess";

// `sandbox` under `home` when `path` is in it, else empty.
std::string sandboxOf(const fs::path& home, const char* sandbox, const fs::path& path) {
    const fs::path folder = home / sandbox;
    const std::string text = path.lexically_normal().u8string();
    const std::string prefix = folder.lexically_normal().u8string();
    return !home.empty() && text.rfind(prefix + "/", 0) == 0 ? prefix : "";
}

// The game's place in its Steam library: library/steamapps/common/<folder>.
bool steamPlaceOf(const fs::path& game, fs::path* library, std::string* installDir) {
    const fs::path common = game.parent_path();
    const fs::path steamapps = common.parent_path();
    if (lowerCase(common.filename().u8string()) != "common" ||
        lowerCase(steamapps.filename().u8string()) != "steamapps") {
        return false;
    }
    *library = steamapps.parent_path();
    *installDir = game.filename().u8string();
    return true;
}

void addSteamSettings(const fs::path& home, const fs::path& game, std::vector<LaunchSetting>* settings) {
    fs::path library;
    std::string installDir;
    if (!steamPlaceOf(game, &library, &installDir)) {
        return;
    }
    const std::string appId = steamAppIdOf(library, installDir);
    if (appId.empty()) {
        return;
    }
    std::vector<fs::path> installs = home.empty() ? std::vector<fs::path>{} : steamInstallFolders(home);
    const fs::path recorded = recordedSteamFolder();
    if (!recorded.empty()) {
        installs.push_back(recorded);
    }
    const fs::path libraryIdentity = identityOf(library);
    std::set<fs::path> seen;
    for (const fs::path& install : installs) {
        std::error_code error;
        if (!fs::is_directory(install, error) || !seen.insert(identityOf(install)).second) {
            continue;
        }
        std::set<fs::path> searched;
        bool holds = false;
        for (const fs::path& listed : steamLibraries(install, &searched)) {
            holds = holds || identityOf(listed) == libraryIdentity;
        }
        if (!holds) {
            continue;
        }
        const std::string sandbox = sandboxOf(home, kSteamFlatpak, install);
        const std::size_t before = settings->size();
        // An account's folder may be a link to another disk: the file there
        // is Steam's all the same.
        for (const fs::path& account : subfolders(install / "userdata", true)) {
            const fs::path file = account / "config" / "localconfig.vdf";
            if (isRegularFile(file.u8string())) {
                settings->push_back({Launcher::Steam, file.u8string(), appId, account.filename().u8string(), sandbox});
            }
        }
        if (settings->size() == before) {
            settings->push_back({Launcher::Steam, "", appId, "", sandbox});
        }
        return;
    }
}

void addHeroicSettings(const fs::path& home, const fs::path& game, std::vector<LaunchSetting>* settings) {
    if (home.empty()) {
        return;
    }
    for (const HeroicInstall& install : heroicInstalls(home)) {
        if (!install.appName.empty() && install.appName.find_first_of("/\\") == std::string::npos &&
            identityOf(install.folder) == game) {
            const fs::path file = install.config / "GamesConfig" / (install.appName + ".json");
            settings->push_back(
                {Launcher::Heroic, file.u8string(), install.appName, "", sandboxOf(home, kHeroicFlatpak, file)});
        }
    }
}

} // namespace

std::vector<LaunchSetting> launchSettingsOf(const fs::path& home, const fs::path& gameFolder) {
    const fs::path game = identityOf(gameFolder);
    std::vector<LaunchSetting> settings;
    addSteamSettings(home, game, &settings);
    addHeroicSettings(home, game, &settings);
    return settings;
}

bool isLauncherRunning(Launcher launcher) {
    if (launcher == Launcher::Heroic) {
        return isProgramRunning("heroic");
    }
    // Any program named steam is Steam, native, in Flatpak or in Snap: one
    // that starts has no pid file yet, and a sandbox's pid file holds an id
    // that means nothing out here, so steam.pid says no more than that.
    if (isProgramRunning("steam")) {
        return true;
    }
    std::uint32_t id = 0;
    return readRegistryNumber(RegistryRoot::CurrentUser, kSteamProcessKey, "pid", &id) && id != 0 &&
           isLiveProcess(id, "");
}

const char* launcherName(Launcher launcher) {
    return launcher == Launcher::Steam ? "Steam" : "Heroic";
}
