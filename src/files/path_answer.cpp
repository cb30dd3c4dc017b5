#include "files/path_answer.h"

#include <algorithm>

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Whether the character at `at` follows an odd number of backslashes.
bool isEscaped(const std::string& text, std::size_t at) {
    std::size_t backslashes = 0;
    while (at > backslashes && text[at - backslashes - 1] == '\\') {
        ++backslashes;
    }
    return backslashes % 2 == 1;
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    // A blank after a backslash is part of the name ("Gorv\ ").
    while (end > begin && isBlank(text[end - 1]) && !isEscaped(text, end - 1)) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool isQuoted(const std::string& text) {
    return text.size() >= 2 && (text.front() == '\'' || text.front() == '"') && text.back() == text.front();
}

// The text read as one shell word, as terminals and file managers quote a
// path: quoted pieces taken as they stand, and between them a backslash
// stands for the character after it, so "'Tom'\''s Game'" and
// "'Tom'"'"'s Game'" are "Tom's Game". Blanks are part of the word. False
// when a quote does not end.
bool shellWord(const std::string& text, std::string* word) {
    word->clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\'' || c == '"') {
            const std::size_t end = text.find(c, i + 1);
            if (end == std::string::npos) {
                return false;
            }
            word->append(text, i + 1, end - i - 1);
            i = end;
        } else {
            if (c == '\\' && i + 1 < text.size()) {
                ++i;
            }
            *word += text[i];
        }
    }
    return true;
}

// A backslash stands for the character after it, as in the shell.
std::string withoutEscapes(const std::string& text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            ++i;
        }
        plain += text[i];
    }
    return plain;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

const std::string kFileScheme = "file://";

// Whether `text` starts with `prefix`, in any case of the letters A to Z.
bool startsWithAnyCase(const std::string& text, const std::string& prefix) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return text.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(), [&](char a, char b) { return lower(a) == lower(b); });
}

bool isFileUri(const std::string& text) {
    return startsWithAnyCase(text, kFileScheme);
}

// "file:///a/My%20Games" and "file://localhost/a/My%20Games" are "/a/My
// Games"; a URL of another computer, or with a % that starts no escape,
// names no file here.
bool pathOfFileUri(const std::string& text, std::string* path, std::string* err) {
    const std::string rest = text.substr(kFileScheme.size());
    const std::size_t slash = rest.find('/');
    const std::string host = rest.substr(0, slash);
    if (!host.empty() && !(host.size() == 9 && startsWithAnyCase(host, "localhost"))) {
        *err = "the URL names a file on another computer";
        return false;
    }
    if (slash == std::string::npos) {
        *err = "the URL names no file";
        return false;
    }
    path->clear();
    for (std::size_t i = slash; i < rest.size(); ++i) {
        if (rest[i] != '%') {
            *path += rest[i];
            continue;
        }
        const int high = i + 2 < rest.size() ? hexValue(rest[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(rest[i + 2]) : -1;
        if (low < 0) {
            *err = "the URL holds a % that is not followed by two hexadecimal digits";
            return false;
        }
        *path += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

std::string withHome(const std::string& text, const std::string& home) {
    if (home.empty() || text.empty() || text[0] != '~' || (text.size() > 1 && text[1] != '/')) {
        return text;
    }
    return home + text.substr(1);
}

} // namespace

bool pathFromAnswer(const std::string& answer, const std::string& home, std::string* path, std::string* err) {
    const std::string text = trimmed(answer);
    // A URL, as file managers copy it (its apostrophes unescaped), bare or
    // quoted whole as terminals paste it, is no shell word.
    const std::string inner = isQuoted(text) ? text.substr(1, text.size() - 2) : text;
    if (isFileUri(inner)) {
        return pathOfFileUri(inner, path, err);
    }
    // A quote that does not pair up, as in 'Tom's Game', is read as people
    // mean it: the outer quotes go and everything inside them stays.
    std::string unquoted;
    if (!shellWord(text, &unquoted)) {
        unquoted = isQuoted(text) ? text.substr(1, text.size() - 2) : withoutEscapes(text);
    }
    *path = withHome(unquoted, home);
    return true;
}
