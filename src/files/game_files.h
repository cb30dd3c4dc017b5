#pragma once

#include <array>
#include <cstdint>
#include <iostream>
#include <string>

#include "ratio/patch_value.h"

// The game's executable: probed under this name in the working folder, and
// the only file name that is ever patched.
inline const std::string kExecutableName = "gorv.exe";
// Stands for "no executable was chosen" wherever a path is expected.
inline const std::string kFailedPath = "FAILED";
// Where the game keeps its aspect ratio, unless the update file says otherwise.
constexpr std::int32_t kDefaultPatchOffset = 3906535; // 0x3B9BE7

// --- Offset update file --------------------------------------------------

inline const std::string kUpdateFileName = "GorvPatcherUpdate.dat";
constexpr std::size_t kOffsetLineCount = 8;
using OffsetTable = std::array<std::int32_t, kOffsetLineCount>;

// One line converted as atoi does, clamped to the 32-bit range.
std::int32_t parseOffsetLine(const std::string& line);
// The first eight lines of the stream; missing lines read as 0.
OffsetTable readOffsetTable(std::istream& in);
// The patch offset: the update file's first value when the file is there
// and that value is positive, else the built-in one. Announces the file.
std::int32_t loadOffsetTable(std::ostream& out = std::cout);

// --- Executable locator ---------------------------------------------------

struct ExecutableLocation {
    std::string path;
    std::string fileName;
};

// gorv.exe in the working folder, else whatever the user picks, else a
// location whose path is kFailedPath.
ExecutableLocation locateGameExecutable();
// The text after the path's last separator (backslash or slash); the whole
// path when it has none.
std::string extractFileName(const std::string& path);
// The name of a common-dialog error code, with its newline; empty for a
// cancel (0) and for codes that have no name.
std::string commonDialogErrorText(unsigned long code);

// --- Backup copy ----------------------------------------------------------

inline const std::string kBackupSuffix = ".backup";
constexpr std::size_t kCopyBlockSize = 512;

struct Backup {
    std::string path;
    bool made;
};

// Copies the executable to its path with ".backup" appended. The copy goes
// to a temporary file first and replaces an earlier backup only once it is
// complete and on disk, so a failed run never costs the last good backup.
Backup backupExecutable(const std::string& path);

// --- Patch writer ---------------------------------------------------------

enum class PatchOutcome {
    Written,
    PastEnd,     // offset + 4 does not fit inside the file
    WriteFailed, // open, seek, write or close failed, or a negative offset
};

// Overwrites four bytes at the offset, in place. Writes nothing at all
// unless all four fit inside the file.
PatchOutcome writePatch(const std::string& path, std::int32_t offset, const PatchValue& value);
