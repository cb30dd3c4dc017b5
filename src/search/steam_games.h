#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

// Games in Steam's libraries, the same on every system.

/// Where Steam may be installed under `home`, whether it is or not: its
/// own folder, the links to it, Debian's, Snap's and Flatpak's, in that
/// order.
std::vector<std::filesystem::path> steamInstallFolders(const std::filesystem::path& home);

/// The libraries of the Steam install at `steamRoot`: the install itself,
/// then every library that its steamapps/libraryfolders.vdf and
/// config/libraryfolders.vdf list (absolute paths only), in that order,
/// each once however often it is listed or however many links lead to it:
/// `searched` holds the libraries already taken, also of other installs.
std::vector<std::filesystem::path> steamLibraries(const std::filesystem::path& steamRoot,
                                                  std::set<std::filesystem::path>* searched);

/// The folder of each game installed in the library (steamapps/common/*,
/// both names in any case), by name.
std::vector<std::filesystem::path> steamGameFolders(const std::filesystem::path& library);

/// The C: drive of each Wine prefix that Proton made in the library
/// (steamapps/compatdata/*/pfx/drive_c), by name.
std::vector<std::filesystem::path> protonDrives(const std::filesystem::path& library);

/// The id of the app that Steam installed into the folder `installDir` of
/// the library's steamapps/common: from the library's
/// steamapps/appmanifest_<id>.acf whose AppState's installdir it is (in any
/// case). Empty when no manifest names it.
std::string steamAppIdOf(const std::filesystem::path& library, const std::string& installDir);

/// The Steam install that the system's registry records (this user's
/// SteamPath, else the machine's InstallPath), when that is a folder; empty
/// where there is none, and on systems without a registry.
std::filesystem::path recordedSteamFolder();

/// The folder of the first `fileName` in the games of the recorded Steam
/// install, in the order that its libraries are listed; empty when there
/// is none.
std::filesystem::path firstRecordedSteamGame(const std::string& fileName);
