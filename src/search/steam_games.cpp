#include "search/steam_games.h"

#include <string>

#include "platform/registry.h"
#include "search/folders.h"
#include "search/key_values.h"
#include "search/steam_library_file.h"
#include "search/store_records.h"

namespace fs = std::filesystem;

namespace {

// Where Steam's installer records its folder: for the user (in lower
// case, with forward slashes), and for the machine.
const char* const kSteamKey = "Software\\Valve\\Steam";
const char* const kSteamMachineKey = "SOFTWARE\\WOW6432Node\\Valve\\Steam";

// Where Steam installs itself under the home folder: its own folder, the
// links that point to it, Debian's package, Snap's and Flatpak's (the
// newer and the older data folder).
const char* const kSteamRoots[] = {".local/share/Steam",
                                   ".steam/steam",
                                   ".steam/root",
                                   ".steam/debian-installation",
                                   "snap/steam/common/.local/share/Steam",
                                   ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                                   ".var/app/com.valvesoftware.Steam/data/Steam"};

} // namespace

std::vector<fs::path> steamInstallFolders(const fs::path& home) {
    std::vector<fs::path> roots;
    for (const char* root : kSteamRoots) {
        roots.push_back(home / root);
    }
    return roots;
}

std::vector<fs::path> steamLibraries(const fs::path& steamRoot, std::set<fs::path>* searched) {
    std::vector<fs::path> listed{steamRoot};
    // Steam keeps the list in steamapps; newer Steam and other tools read a
    // copy in config, which may list more. Relative paths are no libraries.
    for (const fs::path& file :
         {childInAnyCase(steamRoot, "steamapps") / "libraryfolders.vdf", steamRoot / "config" / "libraryfolders.vdf"}) {
        for (const std::string& library : libraryFoldersIn(readLibraryFile(file))) {
            addRecordedFolder(library, &listed);
        }
    }
    std::vector<fs::path> libraries;
    // Each folder once, by its text, before its links are followed.
    std::set<fs::path> seen;
    for (const fs::path& library : listed) {
        std::error_code error;
        if (seen.insert(library.lexically_normal()).second && fs::is_directory(library, error) &&
            searched->insert(identityOf(library)).second) {
            libraries.push_back(library);
        }
    }
    return libraries;
}

std::vector<fs::path> steamGameFolders(const fs::path& library) {
    const fs::path steamapps = childInAnyCase(library, "steamapps");
    return steamapps.empty() ? std::vector<fs::path>{} : subfolders(childInAnyCase(steamapps, "common"), true);
}

std::vector<fs::path> protonDrives(const fs::path& library) {
    const fs::path steamapps = childInAnyCase(library, "steamapps");
    std::vector<fs::path> drives;
    if (!steamapps.empty()) {
        for (const fs::path& prefix : subfolders(steamapps / "compatdata", false)) {
            drives.push_back(prefix / "pfx" / "drive_c");
        }
    }
    return drives;
}

std::string steamAppIdOf(const fs::path& library, const std::string& installDir) {
    const fs::path steamapps = childInAnyCase(library, "steamapps");
    const std::string wanted = lowerCase(installDir);
    const std::string prefix = "appmanifest_";
    std::error_code error;
    for (fs::directory_iterator entry(steamapps.empty() ? library / "steamapps" : steamapps, error), end;
         !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().u8string();
        if (name.rfind(prefix, 0) != 0 || lowerCase(entry->path().extension().u8string()) != ".acf") {
            continue;
        }
        std::vector<KeyValuesNode> nodes;
        if (!parseKeyValues(readLibraryFile(entry->path()), &nodes)) {
            continue;
        }
        const int state = findKeyValue(nodes, -1, "AppState");
        const int folder = state < 0 ? -1 : findKeyValue(nodes, state, "installdir");
        const int id = state < 0 ? -1 : findKeyValue(nodes, state, "appid");
        if (folder >= 0 && lowerCase(nodes[static_cast<std::size_t>(folder)].value) == wanted) {
            const std::string appId = id >= 0 ? nodes[static_cast<std::size_t>(id)].value
                                              : name.substr(prefix.size(), name.size() - prefix.size() - 4);
            if (!appId.empty() && appId.find_first_not_of("0123456789") == std::string::npos) {
                return appId;
            }
        }
    }
    return "";
}

fs::path recordedSteamFolder() {
    std::string folder;
    if (!readRegistryText(RegistryRoot::CurrentUser, kSteamKey, "SteamPath", &folder) &&
        !readRegistryText(RegistryRoot::LocalMachine, kSteamMachineKey, "InstallPath", &folder)) {
        return {};
    }
    const fs::path path = fs::u8path(folder);
    std::error_code error;
    return !folder.empty() && fs::is_directory(path, error) ? path.lexically_normal() : fs::path{};
}

fs::path firstRecordedSteamGame(const std::string& fileName) {
    const fs::path steam = recordedSteamFolder();
    if (steam.empty()) {
        return {};
    }
    std::set<fs::path> searched;
    for (const fs::path& library : steamLibraries(steam, &searched)) {
        for (const fs::path& game : steamGameFolders(library)) {
            std::error_code error;
            if (fs::is_regular_file(game / fileName, error)) {
                return game;
            }
        }
    }
    return {};
}
