#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <iostream>

#include "files/game_files.h"
#include "platform/platform.h"

namespace {

// Terminals paste a dropped file's path in quotes.
std::string withoutQuotes(const std::string& answer) {
    if (answer.size() >= 2 && (answer.front() == '\'' || answer.front() == '"') && answer.back() == answer.front()) {
        return answer.substr(1, answer.size() - 2);
    }
    return answer;
}

// A folder stands for the game's executable inside it.
std::string executableIn(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_directory(path, error)) {
        return path;
    }
    return path.back() == '/' ? path + kExecutableName : path + "/" + kExecutableName;
}

} // namespace

std::string askForExecutable() {
    for (;;) {
        std::cout << "\nPath to your Gorv Executable (empty line to cancel): " << std::flush;
        std::string answer;
        if (!std::getline(std::cin, answer) || answer.empty()) {
            return kFailedPath;
        }
        const std::string path = executableIn(withoutQuotes(answer));
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            return path;
        }
        std::cout << "\nNo such file: " << answer << std::endl;
    }
}

bool syncToDisk(std::FILE* file) {
    return ::fsync(::fileno(file)) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        return false;
    }
    // Make the rename itself durable, not only the file's contents.
    const std::string folder = std::filesystem::path(to).parent_path().string();
    const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        ::fsync(descriptor);
        ::close(descriptor);
    }
    return true;
}
