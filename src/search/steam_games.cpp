#include "search/steam_games.h"

#include <string>

#include "search/folders.h"
#include "search/steam_library_file.h"

namespace fs = std::filesystem;

namespace {

// The folder that makes a path a place of its own, whatever the links to it.
fs::path identityOf(const fs::path& folder) {
    std::error_code error;
    const fs::path identity = fs::canonical(folder, error);
    return error ? folder.lexically_normal() : identity;
}

} // namespace

std::vector<fs::path> steamLibraries(const fs::path& steamRoot, std::set<fs::path>* searched) {
    std::vector<fs::path> listed{steamRoot};
    // Steam keeps the list in steamapps; newer Steam and other tools read a
    // copy in config, which may list more.
    for (const fs::path& file :
         {childInAnyCase(steamRoot, "steamapps") / "libraryfolders.vdf", steamRoot / "config" / "libraryfolders.vdf"}) {
        for (const std::string& library : libraryFoldersIn(readLibraryFile(file))) {
            const fs::path path = fs::u8path(library);
            // A relative path would be looked for under the working folder.
            if (path.is_absolute()) {
                listed.push_back(path);
            }
        }
    }
    std::vector<fs::path> libraries;
    for (const fs::path& library : listed) {
        std::error_code error;
        if (fs::is_directory(library, error) && searched->insert(identityOf(library)).second) {
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
