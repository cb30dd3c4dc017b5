#include <gtest/gtest.h>

#include <sstream>

#include "ratio/aspect_ratio.h"
#include "ratio/patch_value.h"

TEST(PatchValue, TextEchoAndBytesInFileOrder) {
    struct Case {
        float ratio;
        const char* text;
        const char* echo;
        PatchValue bytes;
    };
    const Case cases[] = {
        {1.25F, "3FA00000\n", "\n3F\nA0\n00\n00\n", {0x00, 0x00, 0xA0, 0x3F}},
        {reduceAspectRatio(2560, 1080).ratio, "4017B426\n", "\n40\n17\nB4\n26\n", {0x26, 0xB4, 0x17, 0x40}},
        // Just below the float nearest 1.6: CC, not CD, in the lowest byte.
        {reduceAspectRatio(1680, 1050).ratio, "3FCCCCCC\n", "\n3F\nCC\nCC\nCC\n", {0xCC, 0xCC, 0xCC, 0x3F}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::string text = formatPatchText(c.ratio);
        EXPECT_EQ(text, c.text);
        std::ostringstream echo;
        EXPECT_EQ(decodePatchBytes(text, echo), c.bytes);
        EXPECT_EQ(echo.str(), c.echo);
    }
}

TEST(PatchValue, HexDigitValues) {
    EXPECT_EQ(hexDigitValue('0'), 0);
    EXPECT_EQ(hexDigitValue('9'), 9);
    EXPECT_EQ(hexDigitValue('A'), 10);
    EXPECT_EQ(hexDigitValue('F'), 15);
}

TEST(PatchValue, ShortTextIsNotReadPastItsEnd) {
    // Only a zero ratio gives a short text; its value means nothing, but
    // decoding must stay inside the text and pad the missing pairs.
    std::ostringstream echo;
    decodePatchBytes("0\n", echo);
    EXPECT_EQ(echo.str().substr(4), "00\n00\n00\n");
}
