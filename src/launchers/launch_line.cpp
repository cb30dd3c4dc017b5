#include "launchers/launch_line.h"

#include "files/executable_locator.h"
#include "search/folders.h"

namespace {

const char* const kCommand = "%command%";
const std::string kScreen = " --screen ";
const std::string kDashes = " --";

} // namespace

std::string launchArguments(const std::string& size) {
    return kScreen.substr(1) + size + kDashes;
}

std::string launchPart(const std::string& program, const std::string& size) {
    return program + " " + launchArguments(size);
}

bool isToolProgram(const std::string& path) {
    const std::string name = lowerCase(extractFileName(path, "/\\"));
    return name == "gorv-patcher" || name == "gorv-patcher.exe" || name == "gorv-patcherw.exe";
}

bool startsWithLaunchPart(const std::string& options, std::string* rest) {
    const std::size_t screen = options.find(kScreen);
    if (screen == std::string::npos) {
        return false;
    }
    // The program, without the quotes around it.
    std::string program = options.substr(0, screen);
    while (!program.empty() && (program.back() == '\'' || program.back() == '"')) {
        program.pop_back();
    }
    const std::size_t size = screen + kScreen.size();
    const std::size_t dashes = options.find(' ', size);
    if (!isToolProgram(program) || dashes == std::string::npos ||
        options.compare(dashes, kDashes.size(), kDashes) != 0) {
        return false;
    }
    const std::size_t end = dashes + kDashes.size();
    if (end < options.size() && options[end] != ' ') {
        return false;
    }
    *rest = end < options.size() ? options.substr(end + 1) : "";
    return true;
}

std::string withLaunchPart(const std::string& options, const std::string& program, const std::string& size) {
    std::string rest;
    if (startsWithLaunchPart(options, &rest)) {
        return options.substr(0, options.find(kScreen)) + kScreen + size + kDashes + (rest.empty() ? "" : " " + rest);
    }
    const std::string part = launchPart(program, size);
    if (options.find_first_not_of(" \t") == std::string::npos) {
        return part + " " + kCommand;
    }
    if (options.find(kCommand) != std::string::npos) {
        return part + " " + options;
    }
    return part + " " + kCommand + " " + options;
}
