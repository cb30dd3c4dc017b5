#include "search/game_places.h"

#include <filesystem>
#include <set>

#include "platform/file_system.h"
#include "platform/process.h"
#include "search/epic_manifests.h"
#include "search/folders.h"
#include "search/gog_galaxy.h"
#include "search/heroic_records.h"
#include "search/steam_games.h"
#include "search/store_records.h"
#include "search/ubisoft_connect.h"
#include "search/wine_prefix.h"

namespace fs = std::filesystem;

namespace {

// Where Lutris and Heroic install games, one folder per game.
const char* const kGameFolders[] = {"Games", "Games/Heroic"};

// Where Lutris keeps Wine prefixes: a game's folder, or a store's folder
// with a folder per game in it.
const char* const kLutrisGames = "Games";

// Where Bottles keeps its prefixes, a folder per bottle: native, Flatpak.
const char* const kBottles[] = {".local/share/bottles/bottles", ".var/app/com.usebottles.bottles/data/bottles/bottles"};

// The games found so far, in the order found, each file once however many
// paths lead to it.
struct FoundFiles {
    std::vector<std::string> paths;
    std::set<fs::path> identities; // canonical paths of those listed
};

// Adds `candidate` when it is a regular file (through links) not found yet.
void addIfFile(const fs::path& candidate, FoundFiles* found) {
    // Most folders hold no such file: one look tells, before the links are
    // followed to name the file.
    if (!isRegularFile(candidate.u8string())) {
        return;
    }
    std::error_code error;
    const fs::path identity = fs::canonical(candidate, error);
    if (!error && found->identities.insert(identity).second) {
        found->paths.push_back(candidate.lexically_normal().u8string());
    }
}

} // namespace

std::vector<std::string> findGameCopies(const std::string& home, const std::string& fileName) {
    if (home.empty()) {
        return {};
    }
    const fs::path base = fs::u8path(home);
    std::vector<fs::path> gameFolders;
    std::vector<fs::path> drives;
    std::set<fs::path> searched;
    for (const fs::path& root : steamInstallFolders(base)) {
        for (const fs::path& library : steamLibraries(root, &searched)) {
            const std::vector<fs::path> games = steamGameFolders(library);
            gameFolders.insert(gameFolders.end(), games.begin(), games.end());
            const std::vector<fs::path> proton = protonDrives(library);
            drives.insert(drives.end(), proton.begin(), proton.end());
        }
    }
    for (const char* folder : kGameFolders) {
        const std::vector<fs::path> games = subfolders(base / folder, true);
        gameFolders.insert(gameFolders.end(), games.begin(), games.end());
    }
    const std::vector<fs::path> heroic = heroicInstallFolders(base);
    gameFolders.insert(gameFolders.end(), heroic.begin(), heroic.end());
    for (const fs::path& game : subfolders(base / kLutrisGames, false)) {
        drives.push_back(game / "drive_c");
        for (const fs::path& inner : subfolders(game, false)) {
            drives.push_back(inner / "drive_c");
        }
    }
    for (const char* bottles : kBottles) {
        for (const fs::path& bottle : subfolders(base / bottles, false)) {
            drives.push_back(bottle / "drive_c");
        }
    }

    FoundFiles found;
    // Records may name one folder many times: each is looked at once, by
    // its text, before its links are followed.
    std::set<fs::path> looked;
    for (const fs::path& folder : gameFolders) {
        if (looked.insert(folder.lexically_normal()).second) {
            addIfFile(folder / fileName, &found);
        }
    }
    for (const fs::path& drive : drives) {
        for (const fs::path& candidate : filesInWineDrive(drive, fileName)) {
            addIfFile(candidate, &found);
        }
    }
    return found.paths;
}

fs::path firstRecordedGame(const std::string& fileName) {
    const fs::path steamGame = firstRecordedSteamGame(fileName);
    if (!steamGame.empty()) {
        return steamGame;
    }
    std::vector<fs::path> installs = gogGalaxyFolders();
    // Where Windows keeps data for all users, C:\ProgramData.
    const fs::path epic = recordedFolder(environmentVariable("ProgramData"));
    if (!epic.empty()) {
        const std::vector<fs::path> epicGames = epicInstallFolders(epic);
        installs.insert(installs.end(), epicGames.begin(), epicGames.end());
    }
    const std::vector<fs::path> ubisoftGames = ubisoftConnectFolders();
    installs.insert(installs.end(), ubisoftGames.begin(), ubisoftGames.end());
    for (const fs::path& folder : installs) {
        if (isRegularFile((folder / fileName).u8string())) {
            return folder;
        }
    }
    return {};
}
