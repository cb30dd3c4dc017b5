#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Heroic Games Launcher's records of the games it installed, wherever the
// player put them (an SD card, a folder of their own).

/// The install folders that Heroic records under `home`: its GOG games
/// (gog_store/installed.json) and its Epic games (through legendary,
/// legendaryConfig/legendary/installed.json), of the native install and of
/// the Flatpak, in that order. Records that are missing, no JSON or of
/// another shape give nothing.
std::vector<std::filesystem::path> heroicInstallFolders(const std::filesystem::path& home);

/// A game that Heroic installed: the configuration folder that records it
/// (native or Flatpak), its app name, and its install folder.
struct HeroicInstall {
    std::filesystem::path config;
    std::string appName;
    std::filesystem::path folder;
};

/// The games that heroicInstallFolders finds, with their app names; those
/// without a usable folder are left out.
std::vector<HeroicInstall> heroicInstalls(const std::filesystem::path& home);
