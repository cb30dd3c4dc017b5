#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Valve's KeyValues text (libraryfolders.vdf, localconfig.vdf,
// appmanifest_*.acf), read with where each part stands, so that a value can
// be changed with every other byte left as it was.

/// A key with its value or its block. Positions are byte offsets into the
/// text; a token's range holds its quotes.
struct KeyValuesNode {
    std::string key;            // unescaped
    std::string value;          // unescaped; empty for a block
    bool block = false;         // the key has a block, not a value
    std::size_t keyBegin = 0;   // where the key's token starts
    std::size_t valueBegin = 0; // where the value's token starts; a block's "{"
    std::size_t valueEnd = 0;   // just past the value's token; past a block's "}"
    std::size_t lastEnd = 0;    // a block's: just past its last token before "}" (past "{" when empty)
    std::size_t before = 0;     // just past the token before the key (0 at the start of the text)
    int parent = -1;            // the block this one is in (index into the list); -1 at the top
};

/// Every key of the text, in order, a block before the keys in it. False
/// for a text that is not well-formed KeyValues: a brace that does not
/// match, a quoted string that does not end, a key without a value. A
/// byte-order mark and "//" comments are fine; escapes (\\ \" \n \t) are
/// undone in keys and values.
bool parseKeyValues(const std::string& text, std::vector<KeyValuesNode>* nodes);

/// The first key named `key` (in any case) right under `parent` (-1: at
/// the top), from the parse of parseKeyValues; -1 when there is none.
int findKeyValue(const std::vector<KeyValuesNode>& nodes, int parent, const std::string& key);

/// `text` quoted for a KeyValues file as Steam writes one: in quotes, with
/// \ and " escaped.
std::string quotedKeyValue(const std::string& text);
