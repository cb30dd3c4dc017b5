#include "files/executable_locator.h"

#include <filesystem>
#include <iostream>

#include "files/game_files.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"

namespace {

// Terminals paste a dropped file's path in quotes.
std::string withoutQuotes(const std::string& answer) {
    if (answer.size() >= 2 && (answer.front() == '\'' || answer.front() == '"') && answer.back() == answer.front()) {
        return answer.substr(1, answer.size() - 2);
    }
    return answer;
}

// The answer as a full path, as a dialog gives it; a folder stands for the
// executable inside it.
std::string executablePath(const std::string& answer) {
    std::error_code error;
    std::filesystem::path path = std::filesystem::absolute(answer, error);
    if (std::filesystem::is_directory(path, error)) {
        path /= kExecutableName;
    }
    return path.lexically_normal().string();
}

std::string askOnConsole() {
    for (;;) {
        std::cout << "\nPath to your Gorv Executable (empty line to cancel): " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer) || answer.empty()) {
            return kFailedPath;
        }
        const std::string path = executablePath(withoutQuotes(answer));
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
