#include "ratio/patch_value.h"

#include <cstdio>
#include <cstring>

std::string formatPatchText(float ratio) {
    std::uint32_t bits = 0;
    static_assert(sizeof bits == sizeof ratio, "float must be IEEE 754 single precision");
    std::memcpy(&bits, &ratio, sizeof bits);

    char text[16] = {};
    std::snprintf(text, sizeof text, "%X\n", static_cast<unsigned>(bits));
    return text;
}

int hexDigitValue(char c) {
    const int code = static_cast<unsigned char>(c);
    const int value = 10 * (code / 16 - 3) + code % 16;
    return value > 9 ? value - 1 : value;
}

PatchValue decodePatchBytes(const std::string& patchText, std::ostream& out) {
    // A text shorter than eight digits never comes from a real ratio; read
    // it as if padded with zeros rather than past its end.
    const auto digitAt = [&patchText](std::size_t index) { return index < patchText.size() ? patchText[index] : '0'; };

    out << std::endl;
    PatchValue value{};
    for (std::size_t pair = 0; pair < value.size(); ++pair) {
        const char high = digitAt(2 * pair);
        const char low = digitAt(2 * pair + 1);
        out << high << low << std::endl;
        // The first pair on screen is the most significant byte: last in the file.
        value[value.size() - 1 - pair] =
            static_cast<std::uint8_t>((16 * hexDigitValue(high) + hexDigitValue(low)) & 0xFF);
    }
    return value;
}

PatchValue patchValueOf(float ratio) {
    // The dialogue's own way, without its echo: the same bytes by
    // construction.
    std::ostream silent(nullptr);
    return decodePatchBytes(formatPatchText(ratio), silent);
}

float ratioOf(const PatchValue& value) {
    const std::uint32_t bits = static_cast<std::uint32_t>(value[0]) | static_cast<std::uint32_t>(value[1]) << 8 |
                               static_cast<std::uint32_t>(value[2]) << 16 | static_cast<std::uint32_t>(value[3]) << 24;
    float ratio = 0.0F;
    std::memcpy(&ratio, &bits, sizeof ratio);
    return ratio;
}
