#include "search/steam_library_file.h"

#include <algorithm>
#include <cctype>

#include "platform/file_system.h"
#include "search/folders.h"

namespace {

// Real files are a few kilobytes; anything larger is not Steam's.
constexpr std::size_t kMaxLibraryFileSize = std::size_t{1} << 20;

const char* const kByteOrderMark = "\xEF\xBB\xBF";

struct Token {
    enum Kind { Text, Open, Close, End, Broken } kind;
    std::string text;
};

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// The KeyValues token that starts at or after *i: a quoted or bare string,
// a brace, the end of the text, or Broken for a quoted string that does
// not end. Moves *i past it. A comment runs from "//" to the end of its line.
Token nextToken(const std::string& vdf, std::size_t* i) {
    while (*i < vdf.size()) {
        const char c = vdf[*i];
        if (isBlank(c)) {
            ++*i;
        } else if (vdf.compare(*i, 2, "//") == 0) {
            *i = std::min(vdf.find('\n', *i), vdf.size());
        } else if (c == '{' || c == '}') {
            ++*i;
            return Token{c == '{' ? Token::Open : Token::Close, ""};
        } else if (c == '"') {
            std::string text;
            for (++*i; *i < vdf.size() && vdf[*i] != '"'; ++*i) {
                if (vdf[*i] == '\\' && *i + 1 < vdf.size()) {
                    ++*i;
                }
                text += vdf[*i];
            }
            if (*i == vdf.size()) {
                return Token{Token::Broken, ""};
            }
            ++*i;
            return Token{Token::Text, text};
        } else {
            std::string text;
            for (; *i < vdf.size() && !isBlank(vdf[*i]) && vdf[*i] != '{' && vdf[*i] != '}' && vdf[*i] != '"'; ++*i) {
                text += vdf[*i];
            }
            return Token{Token::Text, text};
        }
    }
    return Token{Token::End, ""};
}

bool isNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool isPathKey(const std::string& key) {
    return lowerCase(key) == "path";
}

} // namespace

std::vector<std::string> libraryFoldersIn(const std::string& vdf) {
    std::vector<std::string> folders;
    int depth = 0;
    std::size_t i = vdf.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    for (Token key = nextToken(vdf, &i); key.kind != Token::End; key = nextToken(vdf, &i)) {
        if (key.kind == Token::Close) {
            if (--depth < 0) {
                return {};
            }
            continue;
        }
        // A key, then either its value or a block.
        const Token value = key.kind == Token::Text ? nextToken(vdf, &i) : Token{Token::Broken, ""};
        if (value.kind == Token::Open) {
            ++depth;
        } else if (value.kind != Token::Text) {
            return {};
        } else if (!value.text.empty() && value.text.find('\0') == std::string::npos &&
                   (isPathKey(key.text) || (depth == 1 && isNumber(key.text)))) {
            folders.push_back(value.text);
        }
    }
    return depth == 0 ? folders : std::vector<std::string>{};
}

std::string readLibraryFile(const std::filesystem::path& path) {
    std::string text;
    bool whole = false;
    std::string ignored;
    return readSmallFile(path.u8string(), kMaxLibraryFileSize, &text, &whole, &ignored) && whole ? text : "";
}
