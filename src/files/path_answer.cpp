#include "files/path_answer.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string trimmed(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && isBlank(text[end - 1])) {
        --end;
    }
    return text.substr(begin, end - begin);
}

bool isQuoted(const std::string& text) {
    return text.size() >= 2 && (text.front() == '\'' || text.front() == '"') && text.back() == text.front();
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

// "file:///a/My%20Games" and "file://localhost/a/My%20Games" are "/a/My Games".
std::string pathOfFileUri(const std::string& text) {
    const std::string scheme = "file://";
    if (text.compare(0, scheme.size(), scheme) != 0) {
        return text;
    }
    std::string rest = text.substr(scheme.size());
    const std::string localhost = "localhost/";
    if (rest.compare(0, localhost.size(), localhost) == 0) {
        rest.erase(0, localhost.size() - 1);
    }
    std::string path;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const int high = i + 2 < rest.size() && rest[i] == '%' ? hexValue(rest[i + 1]) : -1;
        const int low = high >= 0 ? hexValue(rest[i + 2]) : -1;
        if (low >= 0) {
            path += static_cast<char>(high * 16 + low);
            i += 2;
        } else {
            path += rest[i];
        }
    }
    return path;
}

std::string withHome(const std::string& text, const std::string& home) {
    if (home.empty() || text.empty() || text[0] != '~' || (text.size() > 1 && text[1] != '/')) {
        return text;
    }
    return home + text.substr(1);
}

} // namespace

std::string pathFromAnswer(const std::string& answer, const std::string& home) {
    const std::string text = trimmed(answer);
    const std::string unquoted = isQuoted(text) ? text.substr(1, text.size() - 2) : withoutEscapes(text);
    return withHome(pathOfFileUri(unquoted), home);
}
