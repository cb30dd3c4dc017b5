#pragma once

#include <filesystem>
#include <vector>

// The Epic Games Launcher on Windows, which keeps a manifest of each game
// it installed: %ProgramData%\Epic\EpicGamesLauncher\Data\Manifests\*.item,
// JSON with the game's "InstallLocation".

/// The install folders that the manifests under `programData` record, by
/// manifest name; at most a few thousand manifests are read. Manifests that
/// are no JSON, or of another shape, give nothing.
std::vector<std::filesystem::path> epicInstallFolders(const std::filesystem::path& programData);
