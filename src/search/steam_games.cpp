#include "search/steam_games.h"

#include <string>

#include "platform/registry.h"
#include "search/folders.h"
#include "search/steam_library_file.h"
#include "search/store_records.h"

namespace fs = std::filesystem;

namespace {

// The folder that makes a path a place of its own, whatever the links to it.
fs::path identityOf(const fs::path& folder) {
    std::error_code error;
    const fs::path identity = fs::canonical(folder, error);
    return error ? folder.lexically_normal() : identity;
}

// Where Steam's installer records its folder: for the user (in lower
// case, with forward slashes), and for the machine.
const char* const kSteamKey = "Software\\Valve\\Steam";
const char* const kSteamMachineKey = "SOFTWARE\\WOW6432Node\\Valve\\Steam";

} // namespace

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
