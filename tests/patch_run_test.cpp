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
