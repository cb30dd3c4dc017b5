#include <gtest/gtest.h>

#include "files/path_answer.h"

namespace {

// The path an answer stands for, or "refused: " and why.
std::string pathFrom(const std::string& answer, const std::string& home) {
    std::string path;
    std::string err;
    return pathFromAnswer(answer, home, &path, &err) ? path : "refused: " + err;
}

} // namespace

TEST(PathAnswer, ReadsPathsAsTypedOrPasted) {
    const std::string home = "/home/deck";
    const std::string game = "/home/deck/My Games/Gorv/gorv.exe";
    for (const char* answer : {
             "/home/deck/My Games/Gorv/gorv.exe",
             "  /home/deck/My Games/Gorv/gorv.exe\t\r",
             "~/My Games/Gorv/gorv.exe",
             "~/My\\ Games/Gorv/gorv.exe",
             "/home/deck/My\\ Games/Gorv/gorv.exe",
             "file:///home/deck/My%20Games/Gorv/gorv.exe",
             "file://localhost/home/deck/My%20Games/Gorv/gorv.exe",
             "'/home/deck/My Games/Gorv/gorv.exe' ",
             "\"/home/deck/My Games/Gorv/gorv.exe\"",
             "'~/My Games/Gorv/gorv.exe'",
             "file:///home/deck/My%20Games/Gorv/gorv%2eexe",
             "FILE:///home/deck/My%20Games/Gorv/gorv.exe",
             "File://LocalHost/home/deck/My%20Games/Gorv/gorv.exe",
         }) {
        EXPECT_EQ(pathFrom(answer, home), game) << answer;
    }

    // An apostrophe in a folder name, as shells and file managers quote it.
    for (const char* answer : {
             "'/games/Tom'\\''s Game/gorv.exe'",
             "'/games/Tom'\"'\"'s Game/gorv.exe'",
             "/games/Tom\\'s\\ Game/gorv.exe",
             "\"/games/Tom's Game/gorv.exe\"",
             "'/games/Tom's Game/gorv.exe'",
         }) {
        EXPECT_EQ(pathFrom(answer, home), "/games/Tom's Game/gorv.exe") << answer;
    }
    // File managers copy URLs with their apostrophes as they are.
    for (const char* answer : {
             "file:///games/Tom's%20and%20Ann's/gorv.exe",
             "'file:///games/Tom's%20and%20Ann's/gorv.exe'",
         }) {
        EXPECT_EQ(pathFrom(answer, home), "/games/Tom's and Ann's/gorv.exe") << answer;
    }
}

TEST(PathAnswer, LeavesWhatIsNotSpecial) {
    EXPECT_EQ(pathFrom("~", "/home/deck"), "/home/deck");
    EXPECT_EQ(pathFrom("~deck/gorv.exe", "/home/deck"), "~deck/gorv.exe");
    EXPECT_EQ(pathFrom("~/gorv.exe", ""), "~/gorv.exe") << "no home, no expansion";
    EXPECT_EQ(pathFrom("a/~/b", "/home/deck"), "a/~/b");
    EXPECT_EQ(pathFrom("'old\\gorv.exe'", ""), "old\\gorv.exe") << "quotes keep backslashes";
    EXPECT_EQ(pathFrom("old\\\\gorv.exe", ""), "old\\gorv.exe");
    EXPECT_EQ(pathFrom("'unmatched", ""), "'unmatched");
    EXPECT_EQ(pathFrom("file:///a%C3%A9%c3%a9", ""), "/a\xC3\xA9\xC3\xA9");
    EXPECT_EQ(pathFrom("/games/Gorv\\ ", ""), "/games/Gorv ") << "an escaped blank at the end stays";
    EXPECT_EQ(pathFrom("/games/Gorv\\\\ ", ""), "/games/Gorv\\") << "an escaped backslash does not escape";
    EXPECT_EQ(pathFrom("''", ""), "") << "empty quotes cancel";
}

// A URL of another computer is no path here, nor is one with a broken
// escape: neither is read as something else.
TEST(PathAnswer, RefusesURLsThatNameNoFileHere) {
    const std::string otherComputer = "refused: the URL names a file on another computer";
    const std::string brokenEscape = "refused: the URL holds a % that is not followed by two hexadecimal digits";
    EXPECT_EQ(pathFrom("file://otherhost/games/gorv.exe", ""), otherComputer);
    EXPECT_EQ(pathFrom("'file://192.168.0.2/games/gorv.exe'", ""), otherComputer);
    EXPECT_EQ(pathFrom("file://localhost.example/gorv.exe", ""), otherComputer);
    EXPECT_EQ(pathFrom("file:///a%2", ""), brokenEscape);
    EXPECT_EQ(pathFrom("file:///a%zz/gorv.exe", ""), brokenEscape);
    EXPECT_EQ(pathFrom("file:///a%", ""), brokenEscape);
}
