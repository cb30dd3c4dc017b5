#include <gtest/gtest.h>

#include "run/command_line.h"
#include "run/patch_run.h"

TEST(Dimension, OnlyPlainDigitsAreDigits) {
    EXPECT_TRUE(isAllDigits("1920"));
    EXPECT_TRUE(isAllDigits("0768"));
    for (const char* text :
         {"", " 1920", "1920 ", "+1920", "-1920", "1920.0", "1920px", "1920\r", "19\t20", "/", ":"}) {
        EXPECT_FALSE(isAllDigits(text)) << '"' << text << '"';
    }
}

TEST(Dimension, RangeIsOneToLargestBelowTwoToThe32) {
    EXPECT_EQ(parseDimension("1"), 1.0F);
    EXPECT_EQ(parseDimension("0768"), 768.0F);
    EXPECT_EQ(parseDimension("4294967167"), 4294967040.0F);
    const std::string sixtyNines(60, '9');
    for (const std::string text : {"0", "0000", "4294967168", "4294967295", "4294967296", sixtyNines.c_str(), "x"}) {
        EXPECT_FALSE(parseDimension(text).has_value()) << text;
    }
}

// A name ends in ".backup" only with something before it.
TEST(CommandLine, TellsABackupFromAGame) {
    EXPECT_EQ(parseCommandLine({"gorv.exe.backup"}).kind, StartKind::Backup);
    EXPECT_EQ(parseCommandLine({".backup"}).kind, StartKind::Game);
    EXPECT_EQ(parseCommandLine({"gorv.exe"}).kind, StartKind::Game);
}

// Any "--" with a command after it is a launch, whatever stands before it
// (the run says what was wrong there); only the forms that ask questions
// may go to a terminal window.
TEST(CommandLine, AnythingBeforeACommandIsALaunch) {
    using Words = std::vector<std::string>;
    const struct {
        Words given;
        StartKind kind;
        Words before;
        Words command;
    } rows[] = {
        {{"--screen=2560x1080"}, StartKind::Screen, {"--screen", "2560x1080"}, {}},
        {{"--screen=2560x1080", "--", "game", "--"}, StartKind::Launch, {"--screen", "2560x1080"}, {"game", "--"}},
        {{"--", "game"}, StartKind::Launch, {}, {"game"}},
        {{"--help", "--", "game"}, StartKind::Launch, {"--help"}, {"game"}},
        {{"2560x1080", "gorv.exe", "--", "game"}, StartKind::Launch, {"2560x1080", "gorv.exe"}, {"game"}},
        {{"--screen", "2560x1080", "--"}, StartKind::Launch, {"--screen", "2560x1080"}, {}},
        {{"--screen="}, StartKind::Screen, {"--screen", ""}, {}},
        {{"--screen"}, StartKind::Usage, {}, {}},
    };
    for (const auto& row : rows) {
        const Start start = parseCommandLine(row.given);
        EXPECT_EQ(start.kind, row.kind) << row.given.front();
        EXPECT_EQ(start.arguments, row.before) << row.given.front();
        EXPECT_EQ(start.command, row.command) << row.given.front();
        EXPECT_FALSE(asksInConsole(row.given)) << row.given.front();
    }
    for (const Words& asks : {Words{}, Words{"gorv.exe"}, Words{"/games/gorv.exe.backup"}}) {
        EXPECT_TRUE(asksInConsole(asks));
    }
}
