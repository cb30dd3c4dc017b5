#include "platform/process.h"

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

} // namespace

std::vector<WindowsWord> splitWindowsCommandLine(const std::u16string& line) {
    std::vector<WindowsWord> words;
    std::size_t i = 0;
    const std::size_t size = line.size();
    // The program's name: quotes go in and out of quoting, and nothing
    // escapes them.
    WindowsWord program;
    for (bool quoted = false; i < size && (quoted || !isBlank(line[i])); ++i) {
        if (line[i] == u'"') {
            quoted = !quoted;
        } else {
            program.text += line[i];
        }
    }
    // Where a word ends, and the next starts after the blanks.
    const auto close = [&line, &i, size, &words](WindowsWord* word) {
        word->end = i;
        while (i < size && isBlank(line[i])) {
            ++i;
        }
        word->next = i;
        words.push_back(*word);
    };
    close(&program);
    while (i < size) {
        WindowsWord word;
        for (bool quoted = false;;) {
            std::size_t backslashes = 0;
            for (; i < size && line[i] == u'\\'; ++i) {
                ++backslashes;
            }
            bool literal = true;
            if (i < size && line[i] == u'"') {
                // An even number of backslashes before a quote halves, and
                // the quote quotes (two in quotes are one quote); an odd
                // number halves, and the quote is a quote.
                if (backslashes % 2 == 0) {
                    if (quoted && i + 1 < size && line[i + 1] == u'"') {
                        ++i;
                    } else {
                        literal = false;
                        quoted = !quoted;
                    }
                }
                backslashes /= 2;
            }
            word.text.append(backslashes, u'\\');
            if (i >= size || (!quoted && isBlank(line[i]))) {
                break;
            }
            if (literal) {
                word.text += line[i];
            }
            ++i;
        }
        close(&word);
    }
    return words;
}
