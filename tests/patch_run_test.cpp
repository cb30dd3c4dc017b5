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

// After "--screen WIDTHxHEIGHT", anything is a launch, "--" or not, but
// one game alone in the console build; any other "--" with a command after
// it is a launch too, whatever stands before it (the run says what was
// wrong there); only the forms that ask questions may go to a terminal
// window.
TEST(CommandLine, AnythingBeforeACommandIsALaunch) {
    using Words = std::vector<std::string>;
    const struct {
        Words given;
        bool windowed;
        StartKind kind;
        Words before;
        Words command;
        std::size_t commandStart;
        bool dashes;
    } rows[] = {
        {{"--screen=2560x1080"}, false, StartKind::Screen, {"--screen", "2560x1080"}, {}, 0, false},
        {{"--screen=2560x1080", "--", "game", "--"},
         false,
         StartKind::Launch,
         {"--screen", "2560x1080"},
         {"game", "--"},
         2,
         true},
        {{"--screen", "1280x800", "reaper", "SteamLaunch", "--", "game"},
         false,
         StartKind::Launch,
         {"--screen", "1280x800"},
         {"reaper", "SteamLaunch", "--", "game"},
         2,
         false},
        {{"--screen", "1280x800", "C:\\Games\\Gorv\\GORV.EXE"},
         false,
         StartKind::Screen,
         {"--screen", "1280x800"},
         {},
         0,
         false},
        {{"--screen", "1280x800", "C:\\Games\\Gorv\\gorv.exe"},
         true,
         StartKind::Launch,
         {"--screen", "1280x800"},
         {"C:\\Games\\Gorv\\gorv.exe"},
         2,
         false},
        {{"--screen", "1280x800", "wine"}, false, StartKind::Launch, {"--screen", "1280x800"}, {"wine"}, 2, false},
        {{"--screen", "2560*1080", "game"}, false, StartKind::Launch, {"--screen", "2560*1080"}, {"game"}, 2, false},
        {{"--", "game"}, false, StartKind::Launch, {}, {"game"}, 1, true},
        {{"--help", "--", "game"}, false, StartKind::Launch, {"--help"}, {"game"}, 2, true},
        {{"2560x1080", "gorv.exe", "--", "game"},
         false,
         StartKind::Launch,
         {"2560x1080", "gorv.exe"},
         {"game"},
         3,
         true},
        {{"--screen", "2560x1080", "--"}, false, StartKind::Launch, {"--screen", "2560x1080"}, {}, 3, true},
        {{"--screen="}, false, StartKind::Screen, {"--screen", ""}, {}, 0, false},
        {{"--screen"}, false, StartKind::Usage, {}, {}, 0, false},
    };
    for (const auto& row : rows) {
        const Start start = parseCommandLine(row.given, row.windowed);
        const std::string name = row.given.back();
        EXPECT_EQ(start.kind, row.kind) << name;
        EXPECT_EQ(start.arguments, row.before) << name;
        EXPECT_EQ(start.command, row.command) << name;
        if (row.kind == StartKind::Launch) {
            EXPECT_EQ(start.commandStart, row.commandStart) << name;
            EXPECT_EQ(start.dashes, row.dashes) << name;
        }
        EXPECT_EQ(start.path, row.kind == StartKind::Screen && row.given.size() == 3 ? row.given.back() : "") << name;
        EXPECT_FALSE(asksInConsole(row.given)) << name;
    }
    for (const Words& asks : {Words{}, Words{"gorv.exe"}, Words{"/games/gorv.exe.backup"}}) {
        EXPECT_TRUE(asksInConsole(asks));
    }
}
