#pragma once

#include <filesystem>
#include <string>
#include <vector>

/// Every regular file named `fileName` where Linux players keep Windows
/// games under `home`, in this order:
/// - Steam's games (steamapps/common/*/) in each Steam install (native,
///   Debian's, Snap, Flatpak) and each library that it lists;
/// - Lutris's and Heroic's game folders, ~/Games/* and ~/Games/Heroic/*,
///   and the install folders that Heroic records (native and Flatpak);
/// - Wine prefixes, one to three folders below their drive_c: Proton's
///   in every Steam library, Lutris's (~/Games/*, ~/Games/*/*) and
///   Bottles's (native and Flatpak).
/// Each file is listed once, however many links lead to it, under the
/// first path found.
std::vector<std::string> findGameCopies(const std::string& home, const std::string& fileName);

/// The folder of the first `fileName` in the games that a store's launcher
/// recorded where Windows keeps such records: Steam's libraries, then the
/// installs of GOG Galaxy, the Epic Games Launcher and Ubisoft Connect.
/// Empty when none holds it (and on systems without such records).
std::filesystem::path firstRecordedGame(const std::string& fileName);
