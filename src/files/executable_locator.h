#pragma once

#include <string>
#include <vector>

struct ExecutableLocation {
    std::string path;
    std::string fileName;
};

/// gorv.exe in the working folder, else whatever the user picks, else a
/// location whose path is kFailedPath.
ExecutableLocation locateGameExecutable();
/// Asks the user for the executable: in the system's open-file dialog, or
/// on the console where there is none. Returns a full path, or kFailedPath
/// when the user cancels or the dialog fails (whose error is printed).
std::string askForExecutable();
/// The games that the stores' records and folders hold, for a run that
/// nobody answers: on Linux every copy the search finds under the home
/// folder, on Windows the first one a store recorded.
std::vector<std::string> findRecordedGames();
/// The text after the path's last separator (any of `separators`); the
/// whole path when it has none.
std::string extractFileName(const std::string& path, const std::string& separators);
/// Whether a path (with / or \ between folders) names the game's file,
/// its name in any case: a Windows launcher may spell it GORV.EXE.
bool isGamePath(const std::string& path);
/// The name of a common-dialog error code, with its newline; empty for a
/// cancel (0) and for codes that have no name.
std::string commonDialogErrorText(unsigned long code);
