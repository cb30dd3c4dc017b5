#include "launchers/launch_line.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/executable_locator.h"
#include "search/folders.h"

namespace {

const char* const kCommand = "%command%";
const char* const kScreen = "--screen";
const char* const kDashes = "--";
const char* const kBlanks = " \t\r\n";
// What a shell reads as a word of its own, whatever touches it.
const char* const kOperators = ";&|<>()";

// A word of a launch line as /bin/sh splits it: where it stands, and its
// text with the quotes and escapes taken out.
struct Word {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string text;
};

bool isBlank(char c) {
    return std::strchr(kBlanks, c) != nullptr && c != '\0';
}

bool isOperator(char c) {
    return std::strchr(kOperators, c) != nullptr && c != '\0';
}

std::vector<Word> shellWords(const std::string& line) {
    std::vector<Word> words;
    std::size_t i = 0;
    const std::size_t n = line.size();
    while (i < n) {
        if (isBlank(line[i])) {
            ++i;
            continue;
        }
        Word word{i, i, ""};
        const bool isOperatorWord = isOperator(line[i]);
        if (isOperatorWord) {
            word.text = line[i++];
        }
        while (!isOperatorWord && i < n && !isBlank(line[i]) && !isOperator(line[i])) {
            const char c = line[i++];
            if (c == '\'') {
                while (i < n && line[i] != '\'') {
                    word.text += line[i++];
                }
                ++i;
            } else if (c == '"') {
                while (i < n && line[i] != '"') {
                    if (line[i] == '\\' && i + 1 < n && std::strchr("\"\\$`", line[i + 1]) != nullptr) {
                        ++i;
                    }
                    word.text += line[i++];
                }
                ++i;
            } else if (c == '\\' && i < n) {
                word.text += line[i++];
            } else {
                word.text += c;
            }
        }
        word.end = std::min(i, n);
        words.push_back(word);
    }
    return words;
}

} // namespace

std::string launchArguments(const std::string& size) {
    return std::string(kScreen) + " " + size + " " + kDashes;
}

std::string launchPart(const std::string& program, const std::string& size) {
    return program + " " + launchArguments(size);
}

bool isToolProgram(const std::string& path, const std::string& also) {
    const std::string name = lowerCase(extractFileName(path, "/\\"));
    return name == "gorv-patcher" || name == "gorv-patcher.exe" || name == "gorv-patcherw.exe" ||
           (!also.empty() && path == also);
}

bool findLaunchPart(const std::string& options, const std::string& also, LaunchPartPlace* place) {
    const std::vector<Word> words = shellWords(options);
    for (std::size_t k = 0; k + 3 < words.size(); ++k) {
        if (isToolProgram(words[k].text, also) && words[k + 1].text == kScreen && words[k + 3].text == kDashes &&
            !isOperator(options[words[k + 2].begin])) {
            *place = LaunchPartPlace{words[k].begin, words[k + 3].end, words[k].text, words[k + 2].text};
            return true;
        }
    }
    return false;
}

std::string withLaunchPart(const std::string& options, const std::string& program, const std::string& size,
                           const std::string& also) {
    const std::string part = launchPart(program, size);
    LaunchPartPlace place;
    if (findLaunchPart(options, also, &place)) {
        return options.substr(0, place.begin) + part + options.substr(place.end);
    }
    if (options.find_first_not_of(kBlanks) == std::string::npos) {
        return part + " " + kCommand;
    }
    const std::size_t command = options.find(kCommand);
    if (command != std::string::npos) {
        return options.substr(0, command) + part + " " + options.substr(command);
    }
    return part + " " + kCommand + " " + options;
}

std::string withoutLaunchPart(const std::string& options, const std::string& also) {
    LaunchPartPlace place;
    if (!findLaunchPart(options, also, &place)) {
        return options;
    }
    std::size_t begin = place.begin;
    std::size_t end = place.end;
    while (end < options.size() && isBlank(options[end])) {
        ++end;
    }
    // At the end of the line, the blank before the part goes instead.
    while (end == options.size() && begin > 0 && isBlank(options[begin - 1])) {
        --begin;
    }
    const std::string rest = options.substr(0, begin) + options.substr(end);
    const std::size_t first = rest.find_first_not_of(kBlanks);
    const std::size_t last = rest.find_last_not_of(kBlanks);
    return first != std::string::npos && rest.substr(first, last - first + 1) == kCommand ? "" : rest;
}
