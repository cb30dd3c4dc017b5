#include <fstream>

#include "files/game_files.h"
#include "platform/platform.h"

ExecutableLocation locateGameExecutable() {
    if (std::ifstream(kExecutableName, std::ios::binary).is_open()) {
        return ExecutableLocation{kExecutableName, kExecutableName};
    }
    const std::string path = askForExecutable();
    if (path == kFailedPath) {
        return ExecutableLocation{path, ""};
    }
    return ExecutableLocation{path, extractFileName(path)};
}

std::string extractFileName(const std::string& path) {
    const std::size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
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
