#include <gtest/gtest.h>

#include "files/player_text.h"

// Whatever comes in, what is quoted back cannot steer the terminal, is
// well-formed UTF-8, and stays short.
TEST(PlayerText, QuotesOnlyWhatPrintsAsItself) {
    const std::string ellipsis = "\xE2\x80\xA6";
    const std::string replacement = "\xEF\xBF\xBD";
    const struct {
        std::string text;
        std::size_t limit;
        std::string shown;
    } rows[] = {
        {"C:\\Games\\Gorv\tgorv.exe", kWholeText, "C:\\Games\\Gorv\tgorv.exe"},
        {"\x1B]0;pwned\a\x1B[2J/x", 200, "\\x1B]0;pwned\\x07\\x1B[2J/x"},
        {std::string("victim\0/gorv.exe", 16), 200, "victim\\x00/gorv.exe"},
        {"\r\x7F", 200, "\\x0D\\x7F"},
        {"a\xC2\x85z", 200, "a\\x85z"}, // C1, as UTF-8
        {"caf\xC3\xA9 \xE6\x97\xA5", 200, "caf\xC3\xA9 \xE6\x97\xA5"},
        {"\xE0\xA4\xB9\xE0\xB8\x81", 200, "\xE0\xA4\xB9\xE0\xB8\x81"}, // Devanagari and Thai, led by E0
        {"a\x80\xA0z\xC3", 200, "a" + replacement + replacement + "z" + replacement},
        {"\xC0\xAF\xED\xA0\x80", 200, replacement + replacement + replacement + replacement + replacement},
        {"caf\xC3\xA9s", 4, "caf\xC3\xA9" + ellipsis},
        {"abcd", 4, "abcd"},
        {"\xE6\x97\xA5\xE6\x97\xA5\xE6\x97\xA5", 2, "\xE6\x97\xA5\xE6\x97\xA5" + ellipsis},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(printable(row.text, row.limit), row.shown) << row.text;
    }

    // 4096 bytes that start no character, and 4096 control characters: cut
    // by characters and by bytes.
    const std::string stray = printable(std::string(4096, '\x80'), kMaxQuotedAnswer);
    EXPECT_EQ(stray.size(), 200 * replacement.size() + ellipsis.size());
    const std::string controls = printable(std::string(4096, '\x1B'), kMaxQuotedAnswer);
    EXPECT_LE(controls.size(), kMaxQuotedBytes + ellipsis.size());
    EXPECT_EQ(controls.find('\x1B'), std::string::npos);
}
