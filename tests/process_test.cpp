#include <gtest/gtest.h>

#include "platform/process.h"

namespace {

std::u16string utf16(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

} // namespace

// A Windows command line splits as a program's C runtime splits it, and
// each word's place is known, so that what follows the tool's own words
// goes on as it stands.
TEST(Process, SplitsAWindowsCommandLineAsTheCRuntime) {
    const struct {
        const char* line;
        std::vector<std::string> words; // the program's name first
    } rows[] = {
        {"C:\\Games\\gorv.exe -fullscreen", {"C:\\Games\\gorv.exe", "-fullscreen"}},
        {"\"C:\\Program Files\\Gorv\\gorv.exe\" \"a b\"", {"C:\\Program Files\\Gorv\\gorv.exe", "a b"}},
        {"\"C:\\a\\\\\"b c", {"C:\\a\\\\b", "c"}}, // no escapes in the program's name
        {"p a \"\" b", {"p", "a", "", "b"}},
        {"p \"tab\there\"\t x", {"p", "tab\there", "x"}},
        {"p \"a\\\"quote\"", {"p", "a\"quote"}},
        {"p trailing\\ \"back\\\\\\\\\\\"slash\"", {"p", "trailing\\", "back\\\\\"slash"}},
        {"p \"a folder\\\\\"", {"p", "a folder\\"}},
        {"p -name \"John \"\"Rock\"\" Smith\" -x", {"p", "-name", "John \"Rock\" Smith", "-x"}},
        {"p \"a\"\"b\" \"\"\"c\"\"\" \"d\"\"", {"p", "a\"b", "\"c\"", "d\""}},
        {"p   ", {"p"}},
    };
    for (const auto& row : rows) {
        const std::vector<WindowsWord> words = splitWindowsCommandLine(utf16(row.line));
        ASSERT_EQ(words.size(), row.words.size()) << row.line;
        for (std::size_t i = 0; i < words.size(); ++i) {
            EXPECT_EQ(words[i].text, utf16(row.words[i])) << row.line << " word " << i;
        }
    }
    // Where the words end and the next begins: the rest of the line from a
    // word on is exactly as it stood.
    const std::u16string line = utf16("\"C:\\tool w.exe\"  --screen 2560x1080 \t\"C:\\a b\\game.exe\" \"\" x");
    const std::vector<WindowsWord> words = splitWindowsCommandLine(line);
    ASSERT_EQ(words.size(), 6U);
    EXPECT_EQ(line.substr(words[2].next), utf16("\"C:\\a b\\game.exe\" \"\" x"));
    EXPECT_EQ(words[2].end, line.find(u" \t"));
}
