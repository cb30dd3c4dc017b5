#include <gtest/gtest.h>

#include "files/executable_locator.h"

TEST(ExecutableLocator, FileNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(extractFileName("C:\\Games\\Gorv\\gorv.exe", "\\/"), "gorv.exe");
    EXPECT_EQ(extractFileName("C:\\Games\\Gorv\\GORV.EXE", "\\/"), "GORV.EXE");
    EXPECT_EQ(extractFileName("game/gorv.exe", "\\/"), "gorv.exe");
    EXPECT_EQ(extractFileName("C:\\Games\\", "\\/"), "");
    EXPECT_EQ(extractFileName("gorv.exe", "\\/"), "gorv.exe");
    EXPECT_EQ(extractFileName("", "\\/"), "");
}

TEST(ExecutableLocator, DialogErrorNames) {
    EXPECT_EQ(commonDialogErrorText(0), "");
    EXPECT_EQ(commonDialogErrorText(0x0001), "CDERR_STRUCTSIZE\n");
    EXPECT_EQ(commonDialogErrorText(0x000B), "CDERR_NOHOOK\n");
    EXPECT_EQ(commonDialogErrorText(0x3003), "FNERR_BUFFERTOOSMALL\n");
    EXPECT_EQ(commonDialogErrorText(0xFFFF), "CDERR_DIALOGFAILURE\n");
    EXPECT_EQ(commonDialogErrorText(0x000C), "");
    EXPECT_EQ(commonDialogErrorText(0x3004), "");
}
