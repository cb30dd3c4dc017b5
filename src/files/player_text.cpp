#include "files/player_text.h"

#include <cstdint>
#include <limits>

namespace {

const char* const kEllipsis = "\xE2\x80\xA6";             // …
const char* const kReplacementCharacter = "\xEF\xBF\xBD"; // �

// The length of the well-formed UTF-8 character that starts at `at`, and
// its code point; 0 when the bytes there are not one.
std::size_t utf8Character(const std::string& text, std::size_t at, std::uint32_t* code) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    std::uint32_t lowest = 0;
    if (lead < 0x80) {
        *code = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        lowest = 0x80;
        *code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        lowest = 0x800;
        *code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        lowest = 0x10000;
        *code = lead & 0x07u;
    } else {
        return 0;
    }
    if (text.size() - at < length) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        *code = (*code << 6) | (next & 0x3Fu);
    }
    // Overlong forms, UTF-16 halves and values past U+10FFFF are no text.
    const bool surrogate = *code >= 0xD800 && *code < 0xE000;
    return *code < lowest || surrogate || *code > 0x10FFFF ? 0 : length;
}

bool isControl(std::uint32_t code) {
    return (code < 0x20 && code != '\t') || (code >= 0x7F && code < 0xA0);
}

// Every control character is below U+0100: "\x1B".
std::string escaped(std::uint32_t code) {
    const char* const digits = "0123456789ABCDEF";
    return std::string("\\x") + digits[(code >> 4) & 0xFu] + digits[code & 0xFu];
}

} // namespace

bool readAnswerLine(std::istream& in, std::string* line, bool* tooLong) {
    *tooLong = false;
    line->assign(kMaxAnswerLength + 1, '\0');
    in.getline(&(*line)[0], static_cast<std::streamsize>(line->size()));
    // The count includes the newline where one was read, so only the end
    // of input gives none.
    const auto count = static_cast<std::size_t>(in.gcount());
    if (count == 0) {
        line->clear();
        return false;
    }
    if (in.fail() && !in.eof()) {
        // The line goes on past kMaxAnswerLength bytes: drop the rest.
        *tooLong = true;
        line->resize(kMaxAnswerLength);
        in.clear();
        in.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
        return true;
    }
    line->resize(in.eof() ? count : count - 1);
    return true;
}

std::string printable(const std::string& text, std::size_t limit) {
    const std::size_t maxBytes = limit == kWholeText ? kWholeText : kMaxQuotedBytes;
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::uint32_t code = 0;
        const std::size_t length = utf8Character(text, at, &code);
        const std::string piece = length == 0       ? std::string(kReplacementCharacter)
                                  : isControl(code) ? escaped(code)
                                                    : text.substr(at, length);
        if (characters == limit || shown.size() + piece.size() > maxBytes) {
            return shown + kEllipsis;
        }
        shown += piece;
        ++characters;
        at += length == 0 ? 1 : length;
    }
    return shown;
}
