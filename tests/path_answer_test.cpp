#include <gtest/gtest.h>

#include "files/path_answer.h"

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
         }) {
        EXPECT_EQ(pathFromAnswer(answer, home), game) << answer;
    }

    // An apostrophe in a folder name, as shells and file managers quote it.
    for (const char* answer : {
             "'/games/Tom'\\''s Game/gorv.exe'",
             "'/games/Tom'\"'\"'s Game/gorv.exe'",
             "/games/Tom\\'s\\ Game/gorv.exe",
             "\"/games/Tom's Game/gorv.exe\"",
             "'/games/Tom's Game/gorv.exe'",
         }) {
        EXPECT_EQ(pathFromAnswer(answer, home), "/games/Tom's Game/gorv.exe") << answer;
    }
    // File managers copy URLs with their apostrophes as they are.
    for (const char* answer : {
             "file:///games/Tom's%20and%20Ann's/gorv.exe",
             "'file:///games/Tom's%20and%20Ann's/gorv.exe'",
         }) {
        EXPECT_EQ(pathFromAnswer(answer, home), "/games/Tom's and Ann's/gorv.exe") << answer;
    }
}

TEST(PathAnswer, LeavesWhatIsNotSpecial) {
    EXPECT_EQ(pathFromAnswer("~", "/home/deck"), "/home/deck");
    EXPECT_EQ(pathFromAnswer("~deck/gorv.exe", "/home/deck"), "~deck/gorv.exe");
    EXPECT_EQ(pathFromAnswer("~/gorv.exe", ""), "~/gorv.exe") << "no home, no expansion";
    EXPECT_EQ(pathFromAnswer("a/~/b", "/home/deck"), "a/~/b");
    EXPECT_EQ(pathFromAnswer("'old\\gorv.exe'", ""), "old\\gorv.exe") << "quotes keep backslashes";
    EXPECT_EQ(pathFromAnswer("old\\\\gorv.exe", ""), "old\\gorv.exe");
    EXPECT_EQ(pathFromAnswer("'unmatched", ""), "'unmatched");
    EXPECT_EQ(pathFromAnswer("file:///a%2", ""), "/a%2") << "a cut-off escape stays";
    EXPECT_EQ(pathFromAnswer("file:///a%zz%C3%A9%c3%a9", ""), "/a%zz\xC3\xA9\xC3\xA9");
    EXPECT_EQ(pathFromAnswer("/games/Gorv\\ ", ""), "/games/Gorv ") << "an escaped blank at the end stays";
    EXPECT_EQ(pathFromAnswer("/games/Gorv\\\\ ", ""), "/games/Gorv\\") << "an escaped backslash does not escape";
    EXPECT_EQ(pathFromAnswer("''", ""), "") << "empty quotes cancel";
}
