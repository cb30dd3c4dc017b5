#include "files/executable_locator.h"

#include <algorithm>
#include <cctype>
#include <iostream>

#include "files/console_question.h"
#include "files/game_files.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "search/game_places.h"

namespace {

std::string homeFolder() {
    return environmentVariable("HOME");
}

// Where a store's launcher installed the game, when one did; else empty.
std::filesystem::path recordedGameFolder() {
    return firstRecordedGame(kExecutableName).make_preferred();
}

} // namespace

ExecutableLocation locateGameExecutable() {
    // Only a file will do: a folder or a pipe of that name is no game.
    if (isRegularFile(kExecutableName)) {
        return ExecutableLocation{kExecutableName, kExecutableName};
    }
    const std::string path = askForExecutable();
    if (path == kFailedPath) {
        return ExecutableLocation{path, ""};
    }
    return ExecutableLocation{path, extractFileName(path, std::string(1, kPathSeparator))};
}

std::string askForExecutable() {
    if (!haveFileDialog()) {
        return askOnConsole(std::cin, std::cout, homeFolder());
    }
    // Where a store's launcher installed the game, when one did: the player
    // sees it there at once.
    const FileDialog dialog{"Locate your Gorv Executable", "Gorv", kExecutableName, recordedGameFolder().u8string()};
    std::string path;
    unsigned long dialogError = 0;
    if (chooseFileInDialog(dialog, &path, &dialogError)) {
        return path;
    }
    std::cout << commonDialogErrorText(dialogError) << std::flush;
    return kFailedPath;
}

std::vector<std::string> findRecordedGames() {
    if (!haveFileDialog()) {
        return findGameCopies(homeFolder(), kExecutableName);
    }
    const std::filesystem::path folder = recordedGameFolder();
    if (folder.empty()) {
        return {};
    }
    return {(folder / kExecutableName).u8string()};
}

std::string extractFileName(const std::string& path, const std::string& separators) {
    const std::size_t found = path.find_last_of(separators);
    return found == std::string::npos ? path : path.substr(found + 1);
}

bool isGamePath(const std::string& path) {
    const std::string name = extractFileName(path, "\\/");
    return std::equal(name.begin(), name.end(), kExecutableName.begin(), kExecutableName.end(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

std::string commonDialogErrorText(unsigned long code) {
    switch (code) {
    case 0x0001: return "CDERR_STRUCTSIZE\n";
    case 0x0002: return "CDERR_INITIALIZATION\n";
    case 0x0003: return "CDERR_NOTEMPLATE\n";
    case 0x0004: return "CDERR_NOHINSTANCE\n";
    case 0x0005: return "CDERR_LOADSTRFAILURE\n";
    case 0x0006: return "CDERR_FINDRESFAILURE\n";
    case 0x0007: return "CDERR_LOADRESFAILURE\n";
    case 0x0008: return "CDERR_LOCKRESFAILURE\n";
    case 0x0009: return "CDERR_MEMALLOCFAILURE\n";
    case 0x000A: return "CDERR_MEMLOCKFAILURE\n";
    case 0x000B: return "CDERR_NOHOOK\n";
    case 0x3001: return "FNERR_SUBCLASSFAILURE\n";
    case 0x3002: return "FNERR_INVALIDFILENAME\n";
    case 0x3003: return "FNERR_BUFFERTOOSMALL\n";
    case 0xFFFF: return "CDERR_DIALOGFAILURE\n";
    default: return "";
    }
}
