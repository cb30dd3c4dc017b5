#include "ratio/aspect_ratio.h"

namespace {

std::uint32_t truncateToUnsigned(float value) {
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

} // namespace

std::uint32_t binaryGcd(std::uint32_t u, std::uint32_t v) {
    unsigned sharedTwos = 0;
    for (;;) {
        if (u == v || v == 0) {
            return u << sharedTwos;
        }
        if (u == 0) {
            return v << sharedTwos;
        }
        if ((u & 1U) == 0) {
            if ((v & 1U) == 0) {
                ++sharedTwos;
                v >>= 1U;
            }
            u >>= 1U;
        } else if ((v & 1U) == 0) {
            v >>= 1U;
        } else if (u > v) {
            u = (u - v) >> 1U;
        } else {
            const std::uint32_t half = (v - u) >> 1U;
            v = u;
            u = half;
        }
    }
}

AspectRatio reduceAspectRatio(float width, float height) {
    const std::uint32_t divisor = binaryGcd(truncateToUnsigned(width), truncateToUnsigned(height));
    const auto divisorF = static_cast<float>(divisor);

    // The dividends are the typed values themselves, not the integers.
    float widthTerm = width / divisorF;
    float heightTerm = height / divisorF;

    if (widthTerm > 16.0F) {
        const float scale = widthTerm * 0.0625F;
        heightTerm = heightTerm / scale;
        widthTerm = widthTerm / scale;
    } else if (heightTerm < 9.0F) {
        const float scale = heightTerm / 9.0F;
        heightTerm = heightTerm / scale;
        widthTerm = widthTerm / scale;
    }
    return AspectRatio{widthTerm, heightTerm, widthTerm / heightTerm};
}
