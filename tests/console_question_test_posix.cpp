#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "files/console_question.h"
#include "files/game_files.h"
#include "temp_folder.h"

namespace {

// A home folder with `count` games, ~/Games/Game01 ... in the listed order.
std::vector<std::string> makeGames(const TempFolder& home, int count) {
    std::vector<std::string> games;
    for (int i = 1; i <= count; ++i) {
        const std::string folder = home.file("Games/Game" + std::string(i < 10 ? "0" : "") + std::to_string(i));
        std::filesystem::create_directories(folder);
        games.push_back(folder + "/gorv.exe");
        writeBytes(games.back(), "MZ");
    }
    return games;
}

std::string ask(const std::string& answers, const TempFolder& home, std::string* output = nullptr) {
    std::istringstream in(answers);
    std::ostringstream out;
    const std::string chosen = askOnConsole(in, out, home.path.string());
    if (output != nullptr) {
        *output = out.str();
    }
    return chosen;
}

} // namespace

TEST(ConsoleQuestion, ChoosesAListedGameByItsNumberOnly) {
    TempFolder home;
    const std::vector<std::string> twelve = makeGames(home, 12);
    EXPECT_EQ(ask("1\n", home), twelve[0]);
    EXPECT_EQ(ask("10\n", home), twelve[9]);
    EXPECT_EQ(ask("9\n", home), twelve[8]);
    EXPECT_EQ(ask("12\n", home), twelve[11]) << "the last listed game";
    // Anything else is a path: here none, so the question comes again. The
    // characters on either side of the digits are no digits.
    for (const char* other : {"0", "13", "012x", "-1", "/", ":"}) {
        std::string output;
        EXPECT_EQ(ask(std::string(other) + "\n2\n", home, &output), twelve[1]) << other;
        EXPECT_NE(output.find("\nNo such file: " + std::string(other) + "\n"), std::string::npos) << other;
    }

    TempFolder small;
    const std::vector<std::string> two = makeGames(small, 2);
    EXPECT_EQ(ask("2\n", small), two[1]);
    EXPECT_EQ(ask("12\n", small), kFailedPath) << "12 of 2 games is a path, and then input ends";
}

TEST(ConsoleQuestion, CancelsOnAnEmptyAnswerOrTheEndOfInput) {
    TempFolder home;
    const std::vector<std::string> games = makeGames(home, 1);
    for (const char* answers : {"\n1\n", " \t\r\n1\n", "''\n1\n", "\"\"\n1\n", ""}) {
        EXPECT_EQ(ask(answers, home), kFailedPath) << '"' << answers << '"';
    }
    std::string output;
    EXPECT_EQ(ask("1\n", home, &output), games[0]);
    EXPECT_EQ(output, "\nFound gorv.exe in:\n  1) " + games[0] +
                          "\n\nNumber or path of your Gorv Executable (empty line to cancel): ");
}

// The system would read a path with a NUL in it only up to the NUL, and so
// take "victim" (a file) for the game: such a path names no file.
TEST(ConsoleQuestion, APathWithANulNamesNoFile) {
    TempFolder home;
    writeBytes(home.file("victim"), "keep");
    std::string output;
    EXPECT_EQ(ask(home.file("victim") + std::string(1, '\0') + "/gorv.exe\n", home, &output), kFailedPath);
    EXPECT_EQ(output, "\nPath to your Gorv Executable (empty line to cancel): \nNo such file: " + home.file("victim") +
                          "\\x00/gorv.exe\n\nPath to your Gorv Executable (empty line to cancel): ");
}
