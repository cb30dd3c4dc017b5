#include "files/player_text.h"

#include <limits>

namespace {

bool continuesCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
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

std::string shortened(const std::string& text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!continuesCharacter(text[i]) && characters++ == limit) {
            return text.substr(0, i) + "\xE2\x80\xA6"; // …
        }
    }
    return text;
}
