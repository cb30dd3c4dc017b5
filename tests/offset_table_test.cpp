#include <gtest/gtest.h>

#include <sstream>

#include "files/offset_table.h"

TEST(OffsetTable, LinesConvertLikeAtoi) {
    EXPECT_EQ(parseOffsetLine("3906535"), 3906535);
    EXPECT_EQ(parseOffsetLine(" 320abc"), 320);
    EXPECT_EQ(parseOffsetLine("\t\v320"), 320);
    EXPECT_EQ(parseOffsetLine("320\r"), 320);
    EXPECT_EQ(parseOffsetLine("-5"), -5);
    EXPECT_EQ(parseOffsetLine("0x3B9BE7"), 0);
    EXPECT_EQ(parseOffsetLine("\xEF\xBB\xBF"
                              "320"),
              0);
    EXPECT_EQ(parseOffsetLine(""), 0);
    EXPECT_EQ(parseOffsetLine("99999999999999999999"), 2147483647);
    EXPECT_EQ(parseOffsetLine("-99999999999999999999"), -2147483647 - 1);

    std::istringstream twelveLines("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n");
    EXPECT_EQ(readOffsetTable(twelveLines), (OffsetTable{1, 2, 3, 4, 5, 6, 7, 8}));
    std::istringstream shortFile("320");
    EXPECT_EQ(readOffsetTable(shortFile), (OffsetTable{320, 0, 0, 0, 0, 0, 0, 0}));
    // Lines end in LF, CRLF, or a lone CR (old Mac editors).
    std::istringstream mixedEnds("320\r7\r\n8\n\r9");
    EXPECT_EQ(readOffsetTable(mixedEnds), (OffsetTable{320, 7, 8, 0, 9, 0, 0, 0}));
}

TEST(OffsetTable, UpdateFilesAsWindowsToolsSaveThem) {
    EXPECT_EQ(decodeUpdateText("\xEF\xBB\xBF"
                               "320\r\n"),
              "320\r\n");
    EXPECT_EQ(decodeUpdateText(std::string("\xFF\xFE"
                                           "3\0002\0\n\0",
                                           8)),
              "32\n");
    // A letter outside the basic plane (a pair of units), and half of one.
    EXPECT_EQ(decodeUpdateText(std::string("\xFE\xFF\xD8\x3D\xDE\x00\xD8\x3D"
                                           "\0x",
                                           10)),
              "\xF0\x9F\x98\x80\xEF\xBF\xBDx");
    EXPECT_EQ(decodeUpdateText("320"), "320");
}
