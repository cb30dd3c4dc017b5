#include "files/executable_locator.h"

#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <vector>

#include "files/game_files.h"
#include "files/game_search.h"
#include "files/path_answer.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"

namespace {

// A full path, as a dialog gives it; a folder stands for the executable
// inside it.
std::string executablePath(const std::string& typed) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(typed, error);
    if (std::filesystem::is_directory(path, error)) {
        path /= kExecutableName;
    }
    return path.lexically_normal().string();
}

// The number (from 1) of one of `count` games, as typed; 0 for anything else.
std::size_t chosenNumber(const std::string& answer, std::size_t count) {
    std::size_t number = 0;
    for (const char c : answer) {
        if (c < '0' || c > '9' || number > count) {
            return 0;
        }
        number = number * 10 + static_cast<std::size_t>(c - '0');
    }
    return number <= count ? number : 0;
}

std::string askOnConsole() {
    const char* const homeVariable = std::getenv("HOME");
    const std::string home = homeVariable != nullptr ? homeVariable : "";
    const std::vector<std::string> found = findGameCopies(home, kExecutableName);
    std::string question = "\nPath to your Gorv Executable (empty line to cancel): ";
    if (!found.empty()) {
        std::cout << "\nFound " << kExecutableName << " in:\n";
        for (std::size_t i = 0; i < found.size(); ++i) {
            std::cout << "  " << i + 1 << ") " << found[i] << "\n";
        }
        question = "\nNumber or path of your Gorv Executable (empty line to cancel): ";
    }
    for (;;) {
        std::cout << question << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer)) {
            return kFailedPath;
        }
        const std::string typed = pathFromAnswer(answer, home);
        if (typed.empty()) {
            return kFailedPath;
        }
        if (const std::size_t number = chosenNumber(typed, found.size())) {
            return found[number - 1];
        }
        const std::string path = executablePath(typed);
        if (isRegularFile(path)) {
            return path;
        }
        std::cout << "\nNo such file: " << answer << std::endl;
    }
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
        return askOnConsole();
    }
    const FileDialog dialog{"Locate your Gorv Executable", "Gorv", kExecutableName};
    std::string path;
    unsigned long dialogError = 0;
    if (chooseFileInDialog(dialog, &path, &dialogError)) {
        return path;
    }
    std::cout << commonDialogErrorText(dialogError) << std::flush;
    return kFailedPath;
}

std::string extractFileName(const std::string& path, const std::string& separators) {
    const std::size_t found = path.find_last_of(separators);
    return found == std::string::npos ? path : path.substr(found + 1);
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
