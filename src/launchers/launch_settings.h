#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Where the launchers that installed a game keep the line that starts it,
// and whether they run now.

enum class Launcher { Steam, Heroic };

/// One place of a game's launch line.
struct LaunchSetting {
    Launcher launcher = Launcher::Steam;
    std::string file;    // an account's localconfig.vdf, or Heroic's GamesConfig/<app name>.json
    std::string app;     // Steam's app id, Heroic's app name
    std::string account; // Steam's account (its userdata folder's name); empty for Heroic
    std::string sandbox; // the Flatpak's own folder (~/.var/app/<id>) the launcher runs in; empty outside one
};

/// The places of the launch line of the game in `gameFolder`:
/// - Steam: every account's localconfig.vdf in the Steam install (under
///   `home`, or that the registry records) whose libraries hold the game,
///   for the app whose manifest names the game's folder; one place with no
///   file when that install has no account yet;
/// - Heroic: the game's GamesConfig/<app name>.json in the configuration
///   folder (native or Flatpak) whose records name the game's folder.
/// Nothing for a game that no launcher's records name.
std::vector<LaunchSetting> launchSettingsOf(const std::filesystem::path& home, const std::filesystem::path& gameFolder);

/// Whether the launcher runs (or starts) now, and would write its settings
/// over a change when it exits: Steam when a program named steam runs (as
/// any Steam that has written a steam.pid, native, Flatpak or Snap, does),
/// or the process that the registry's ActiveProcess names lives; Heroic
/// when a program named heroic runs.
bool isLauncherRunning(Launcher launcher);

/// "Steam", "Heroic".
const char* launcherName(Launcher launcher);
