#include "search/key_values.h"

#include <cctype>

#include "search/folders.h"

namespace {

const char* const kByteOrderMark = "\xEF\xBB\xBF";

struct Token {
    enum Kind { Text, Open, Close, End, Broken } kind = End;
    std::string text;
    std::size_t begin = 0;
    std::size_t end = 0;
};

bool isBlank(char c) {
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

// What an escape stands for, as Steam reads it.
char unescaped(char c) {
    return c == 'n' ? '\n' : c == 't' ? '\t' : c;
}

// The token that starts at or after *i: a quoted or bare string, a brace,
// the end of the text, or Broken for a quoted string that does not end.
// Moves *i past it. A comment runs from "//" to the end of its line.
Token nextToken(const std::string& text, std::size_t* i) {
    while (*i < text.size()) {
        const char c = text[*i];
        const std::size_t begin = *i;
        if (isBlank(c)) {
            ++*i;
        } else if (text.compare(*i, 2, "//") == 0) {
            *i = std::min(text.find('\n', *i), text.size());
        } else if (c == '{' || c == '}') {
            ++*i;
            return Token{c == '{' ? Token::Open : Token::Close, "", begin, *i};
        } else if (c == '"') {
            std::string value;
            for (++*i; *i < text.size() && text[*i] != '"'; ++*i) {
                if (text[*i] == '\\' && *i + 1 < text.size()) {
                    ++*i;
                    value += unescaped(text[*i]);
                } else {
                    value += text[*i];
                }
            }
            if (*i == text.size()) {
                return Token{Token::Broken, "", begin, *i};
            }
            ++*i;
            return Token{Token::Text, value, begin, *i};
        } else {
            for (; *i < text.size() && !isBlank(text[*i]) && text[*i] != '{' && text[*i] != '}' && text[*i] != '"';
                 ++*i) {
            }
            return Token{Token::Text, text.substr(begin, *i - begin), begin, *i};
        }
    }
    return Token{Token::End, "", *i, *i};
}

} // namespace

bool parseKeyValues(const std::string& text, std::vector<KeyValuesNode>* nodes) {
    nodes->clear();
    std::vector<int> open; // the blocks that have not closed yet
    std::size_t i = text.compare(0, 3, kByteOrderMark) == 0 ? 3 : 0;
    std::size_t previousEnd = 0;
    for (Token key = nextToken(text, &i); key.kind != Token::End; key = nextToken(text, &i)) {
        if (key.kind == Token::Close) {
            if (open.empty()) {
                return false;
            }
            KeyValuesNode& block = (*nodes)[static_cast<std::size_t>(open.back())];
            block.lastEnd = previousEnd;
            block.valueEnd = key.end;
            open.pop_back();
            previousEnd = key.end;
            continue;
        }
        const Token value = key.kind == Token::Text ? nextToken(text, &i) : Token{Token::Broken, "", i, i};
        if (value.kind != Token::Text && value.kind != Token::Open) {
            return false;
        }
        KeyValuesNode node;
        node.key = key.text;
        node.keyBegin = key.begin;
        node.before = previousEnd;
        node.valueBegin = value.begin;
        node.valueEnd = value.end;
        node.parent = open.empty() ? -1 : open.back();
        node.block = value.kind == Token::Open;
        if (node.block) {
            open.push_back(static_cast<int>(nodes->size()));
        } else {
            node.value = value.text;
        }
        nodes->push_back(std::move(node));
        previousEnd = value.end;
    }
    return open.empty();
}

int findKeyValue(const std::vector<KeyValuesNode>& nodes, int parent, const std::string& key) {
    const std::string wanted = lowerCase(key);
    // The keys of a block follow it; its own end bounds the look.
    const std::size_t first = parent < 0 ? 0 : static_cast<std::size_t>(parent) + 1;
    for (std::size_t i = first; i < nodes.size(); ++i) {
        if (parent >= 0 && nodes[i].keyBegin >= nodes[static_cast<std::size_t>(parent)].valueEnd) {
            break;
        }
        if (nodes[i].parent == parent && lowerCase(nodes[i].key) == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string quotedKeyValue(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}
