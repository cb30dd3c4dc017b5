#include "files/shortened.h"

namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::string shortened(const std::string& text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!continuesCharacter(text[i]) && characters++ == limit) {
            return text.substr(0, i) + "\xE2\x80\xA6"; // …
        }
    }
    return text;
}
