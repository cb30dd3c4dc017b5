#include "files/console_question.h"

#include <filesystem>
#include <vector>

#include "files/game_files.h"
#include "files/path_answer.h"
#include "files/player_text.h"
#include "platform/file_system.h"
#include "search/game_places.h"

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

} // namespace

std::string askOnConsole(std::istream& in, std::ostream& out, const std::string& home) {
    const std::vector<std::string> found = findGameCopies(home, kExecutableName);
    std::string question = "\nPath to your Gorv Executable (empty line to cancel): ";
    if (!found.empty()) {
        out << "\nFound " << kExecutableName << " in:\n";
        for (std::size_t i = 0; i < found.size(); ++i) {
            out << "  " << i + 1 << ") " << printable(found[i]) << "\n";
        }
        question = "\nNumber or path of your Gorv Executable (empty line to cancel): ";
    }
    for (;;) {
        out << question << std::flush;
        std::string answer;
        bool tooLong = false;
        if (!readAnswerLine(in, &answer, &tooLong)) {
            return kFailedPath;
        }
        // A line too long for any path is no answer, nor is a URL that
        // names no file here.
        std::string typed;
        std::string refusal;
        if (!tooLong && pathFromAnswer(answer, home, &typed, &refusal)) {
            if (typed.empty()) {
                return kFailedPath;
            }
            if (const std::size_t number = chosenNumber(typed, found.size())) {
                return found[number - 1];
            }
            // A NUL ("%00") would end the path early for the system: no file.
            std::string ignored;
            if (checkPath(typed, &ignored)) {
                const std::string path = executablePath(typed);
                if (isRegularFile(path)) {
                    return path;
                }
            }
        }
        out << "\nNo such file: " << printable(answer, kMaxQuotedAnswer)
            << (refusal.empty() ? "" : " (" + refusal + ")") << std::endl;
    }
}
