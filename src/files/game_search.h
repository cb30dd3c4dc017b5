#pragma once

#include <string>
#include <vector>

/// The library folders that Steam's libraryfolders.vdf lists (its "path"
/// values; in the older form, the values of numbered keys). Empty for a
/// text that is not well-formed KeyValues.
std::vector<std::string> libraryFoldersIn(const std::string& vdf);

/// Every regular file named `fileName` where Linux players keep Windows
/// games under `home`: Steam's own folders (native and Flatpak) and each
/// library they list, as steamapps/common/*/fileName, and the Lutris and
/// Heroic folders ~/Games/* and ~/Games/Heroic/*. Each file is listed once,
/// however many links lead to it, under the first path found.
std::vector<std::string> findGameCopies(const std::string& home, const std::string& fileName);
