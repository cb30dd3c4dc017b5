#include <gtest/gtest.h>

#include "run/unattended_run.h"

// What --screen takes: two dimensions as the dialogue takes them, with an x
// between, of a shape that a screen has.
TEST(UnattendedRun, ReadsTheScreenSize) {
    const struct {
        const char* text;
        float width; // 0: refused
        float height;
    } rows[] = {
        {"2560x1080", 2560, 1080},
        {"1280X800", 1280, 800},
        {"0800x0600", 800, 600},
        {"7680x960", 7680, 960},
        {"2560*1080", 0, 0},
        {"2560x", 0, 0},
        {"x1080", 0, 0},
        {"0x1080", 0, 0},
        {"2560x1080x2", 0, 0},
        {"+2560x1080", 0, 0},
        {"-2560x1080", 0, 0},
        {"2560 x 1080", 0, 0},
        {" 2560x1080", 0, 0},
        {"4294967296x1080", 0, 0},
        {"100x1000", 0, 0},
        {"10000x1000", 0, 0},
        {"", 0, 0},
    };
    for (const auto& row : rows) {
        ScreenSize size;
        std::string err;
        const bool read = parseScreenSize(row.text, &size, &err);
        EXPECT_EQ(read, row.width != 0) << row.text << ": " << err;
        if (read) {
            EXPECT_EQ(size.width, row.width) << row.text;
            EXPECT_EQ(size.height, row.height) << row.text;
        } else {
            EXPECT_EQ(err.rfind(std::string("--screen ") + row.text + ": ", 0), 0U) << err;
        }
    }
}
