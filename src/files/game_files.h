#pragma once

#include <cstdint>
#include <string>

// The names and numbers of the game's files.

// The game's executable: probed under this name in the working folder, and
// the only file name that is ever patched.
inline const std::string kExecutableName = "gorv.exe";
// Stands for "no executable was chosen" wherever a path is expected.
inline const std::string kFailedPath = "FAILED";
// Where the game keeps its aspect ratio, unless the update file says otherwise.
constexpr std::int32_t kDefaultPatchOffset = 3906535; // 0x3B9BE7

// The optional file, in the working folder, that moves the patch offset.
inline const std::string kUpdateFileName = "GorvPatcherUpdate.dat";
// Appended to the executable's whole path to name its backup.
inline const std::string kBackupSuffix = ".backup";
// What a launch said, beside the game, for a player who saw no console.
inline const std::string kLaunchLogName = "gorv-patcher.log";
