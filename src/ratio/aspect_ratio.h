#pragma once

#include <cstdint>

// The screen's shape as the game wants it: a pair reading 16:x or x:9 and
// the single-precision ratio of the two that goes into the executable.
struct AspectRatio {
    float widthTerm;
    float heightTerm;
    float ratio;
};

// Reduces width:height by their greatest common divisor, then scales the
// pair to 16:x when its width side exceeds 16, else to x:9 when its height
// side is below 9. Every step is single precision, so the ratio's bits are
// the ones the game has always been patched with. Expects non-zero whole
// numbers below 2^32.
AspectRatio reduceAspectRatio(float width, float height);

// Greatest common divisor by the binary (halving) method.
std::uint32_t binaryGcd(std::uint32_t u, std::uint32_t v);
