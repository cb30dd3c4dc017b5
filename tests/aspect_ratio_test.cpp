#include <gtest/gtest.h>

#include <cstring>

#include "ratio/aspect_ratio.h"

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct WorkedRow {
    float width;
    float height;
    std::uint32_t divisor;
    float widthTerm;
    float heightTerm;
    std::uint32_t ratioBits;
};

// Every common screen the tool has to get exactly right. The ratio must
// match bit for bit: a ratio computed directly as width / height, or in
// double precision, differs in the last place for some of these.
const WorkedRow kWorkedRows[] = {
    {1920, 1080, 120, 16.0F, 9.0F, 0x3FE38E39},
    {2560, 1080, 40, 16.0F, 6.75F, 0x4017B426},
    {3440, 1440, 80, 16.0F, 6.6976743F, 0x4018E38E},
    {5120, 1440, 160, 16.0F, 4.5F, 0x40638E39},
    {2520, 1080, 360, 21.0F, 9.0F, 0x40155555},
    {1680, 1050, 210, 14.4F, 9.0F, 0x3FCCCCCC},
    {1280, 1024, 256, 11.25F, 9.0F, 0x3FA00000},
    {1024, 768, 256, 12.0F, 9.0F, 0x3FAAAAAB},
    {1366, 768, 2, 16.0F, 8.995607F, 0x3FE3AAAB},
    {1080, 1920, 120, 9.0F, 16.0F, 0x3F100000},
    {1000, 1000, 1000, 9.0F, 9.0F, 0x3F800000},
    // x:9 with a scale that a double would round differently: 4019999A.
    {3840, 1600, 320, 21.5999985F, 9.0F, 0x40199999},
};

} // namespace

TEST(ReduceAspectRatio, WorkedTableBitForBit) {
    for (const WorkedRow& row : kWorkedRows) {
        SCOPED_TRACE(testing::Message() << row.width << " x " << row.height);
        EXPECT_EQ(binaryGcd(static_cast<std::uint32_t>(row.width), static_cast<std::uint32_t>(row.height)),
                  row.divisor);
        const AspectRatio result = reduceAspectRatio(row.width, row.height);
        EXPECT_EQ(bitsOf(result.widthTerm), bitsOf(row.widthTerm));
        EXPECT_EQ(bitsOf(result.heightTerm), bitsOf(row.heightTerm));
        EXPECT_EQ(bitsOf(result.ratio), row.ratioBits);
    }
}

TEST(ReduceAspectRatio, NormalisationRules) {
    // A wide side above 16 is scaled down even though the height side is
    // below 9: only the first rule applies.
    const AspectRatio wide = reduceAspectRatio(17, 1);
    EXPECT_EQ(wide.widthTerm, 16.0F);
    EXPECT_EQ(bitsOf(wide.heightTerm), bitsOf(0.9411765F));
    EXPECT_EQ(wide.ratio, 17.0F);

    // A width side of exactly 16 is not scaled by the first rule (which
    // would keep 16:5 and give exactly the float nearest 3.2, 404CCCCD); the
    // second rule scales it to x:9 and its rounding lands one unit below.
    const AspectRatio sixteen = reduceAspectRatio(16, 5);
    EXPECT_EQ(sixteen.heightTerm, 9.0F);
    EXPECT_EQ(bitsOf(sixteen.ratio), 0x404CCCCCU);

    // Square screens are scaled up from 1:1 by the second rule.
    const AspectRatio square = reduceAspectRatio(7, 7);
    EXPECT_EQ(square.widthTerm, 9.0F);
    EXPECT_EQ(square.heightTerm, 9.0F);
    EXPECT_EQ(square.ratio, 1.0F);
}

TEST(ReduceAspectRatio, LargestAcceptedDimensions) {
    // 4294967167 reads as 4294967040 in single precision; its low 32 bits
    // must still reduce correctly rather than wrapping to zero.
    const AspectRatio result = reduceAspectRatio(4294967040.0F, 4294967040.0F);
    EXPECT_EQ(result.ratio, 1.0F);
    EXPECT_EQ(result.heightTerm, 9.0F);
}

TEST(BinaryGcd, ZerosEqualsAndPowersOfTwo) {
    EXPECT_EQ(binaryGcd(0, 0), 0U);
    EXPECT_EQ(binaryGcd(0, 5), 5U);
    EXPECT_EQ(binaryGcd(5, 0), 5U);
    EXPECT_EQ(binaryGcd(12, 12), 12U);
    EXPECT_EQ(binaryGcd(1920, 1080), 120U);
    EXPECT_EQ(binaryGcd(1080, 1920), 120U);
    EXPECT_EQ(binaryGcd(0x80000000U, 0xC0000000U), 0x40000000U);
    EXPECT_EQ(binaryGcd(4294967295U, 65535U), 65535U);
    EXPECT_EQ(binaryGcd(4294967291U, 4294967279U), 1U); // two primes
}
