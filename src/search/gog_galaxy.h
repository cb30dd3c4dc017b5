#pragma once

#include <filesystem>
#include <vector>

// GOG Galaxy on Windows, which records each game it installed in the
// registry: SOFTWARE\WOW6432Node\GOG.com\Games\<product id>, value "path".

/// The install folders that GOG Galaxy records, in the registry's order;
/// none on systems without a registry.
std::vector<std::filesystem::path> gogGalaxyFolders();
