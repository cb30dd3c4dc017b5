#include <gtest/gtest.h>

#include "ratio/aspect_ratio.h"
#include "ratio/patch_value.h"
#include "ratio/screen_shapes.h"

// Every shape that screens are sold in, landscape and portrait, and
// nothing near them: a size one pixel off, 1:1, a float of code.
TEST(ScreenShapes, TakesEveryListedShapeAndNothingNear) {
    const float shapes[][2] = {{1920, 1080}, {1366, 768},  {1360, 768},  {1920, 1200}, {1024, 768},  {1280, 1024},
                               {2160, 1440}, {1600, 1024}, {1280, 768},  {1024, 600},  {2048, 1080}, {4096, 2160},
                               {2160, 1080}, {2340, 1080}, {2400, 1080}, {2560, 1080}, {3440, 1440}, {3840, 1600},
                               {5120, 2160}, {2520, 1080}, {3840, 1080}, {5120, 1440}, {3840, 1200}, {5760, 1080},
                               {5760, 1200}, {3840, 1024}, {3072, 768}};
    for (const auto& shape : shapes) {
        const float width = shape[0];
        const float height = shape[1];
        EXPECT_TRUE(isScreenShape(patchValueOf(reduceAspectRatio(width, height).ratio))) << width << "x" << height;
        EXPECT_TRUE(isScreenShape(patchValueOf(reduceAspectRatio(height, width).ratio))) << height << "x" << width;
        EXPECT_FALSE(isScreenShape(patchValueOf(reduceAspectRatio(width, height + 1).ratio)))
            << width << "x" << height + 1;
        EXPECT_FALSE(isScreenShape(patchValueOf(reduceAspectRatio(width + 1, height).ratio)))
            << width + 1 << "x" << height;
    }
    for (const PatchValue& other : {patchValueOf(1.0F), PatchValue{0x48, 0x83, 0xEC, 0x40}, patchValueOf(2.5F)}) {
        EXPECT_FALSE(isScreenShape(other));
    }
}
