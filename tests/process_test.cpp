#include <gtest/gtest.h>

#include "platform/process.h"

// A Windows program's C runtime splits its command line back into exactly
// these arguments.
TEST(Process, QuotesAWindowsCommandLine) {
    const struct {
        std::vector<std::string> arguments;
        const char* line;
    } rows[] = {
        {{"C:\\Games\\gorv.exe", "-fullscreen"}, "C:\\Games\\gorv.exe -fullscreen"},
        {{"C:\\Program Files\\Gorv\\gorv.exe"}, "\"C:\\Program Files\\Gorv\\gorv.exe\""},
        {{"a", "", "b"}, "a \"\" b"},
        {{"tab\there"}, "\"tab\there\""},
        {{"a\"quote"}, "\"a\\\"quote\""},
        {{"trailing\\", "back\\\\\"slash"}, "trailing\\ \"back\\\\\\\\\\\"slash\""},
        {{"a folder\\"}, "\"a folder\\\\\""},
        {{"C:\\a\\b"}, "C:\\a\\b"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(windowsCommandLine(row.arguments), row.line);
    }
}
