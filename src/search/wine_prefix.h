#pragma once

#include <filesystem>
#include <string>
#include <vector>

/// The files named `fileName` one to three folders below a Wine prefix's
/// drive_c (drive_c/GOG Games/Gorv/gorv.exe), sorted, as candidates. The
/// walk never enters Windows' own folders (windows, users, ProgramData),
/// which hold thousands, and never follows a link.
std::vector<std::filesystem::path> filesInWineDrive(const std::filesystem::path& driveC, const std::string& fileName);
