#pragma once

#include <filesystem>
#include <vector>

// Ubisoft Connect on Windows, which records each game it installed in the
// registry: SOFTWARE\WOW6432Node\Ubisoft\Launcher\Installs\<id>, value
// "InstallDir" (with forward slashes).

/// The install folders that Ubisoft Connect records, in the registry's
/// order; none on systems without a registry.
std::vector<std::filesystem::path> ubisoftConnectFolders();
