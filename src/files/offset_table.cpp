#include "files/offset_table.h"

#include <algorithm>
#include <limits>
#include <sstream>

#include "files/game_files.h"
#include "files/player_text.h"
#include "platform/file_system.h"

namespace {

// Eight lines of numbers fit many times over; the rest of a bigger file is
// not read.
constexpr std::size_t kMaxUpdateFileSize = std::size_t{1} << 16;
// How much of a refused line the player is shown.
constexpr std::size_t kQuotedLineLength = 40;
// Stands for half of a UTF-16 pair.
constexpr char32_t kReplacementCharacter = 0xFFFD;

void appendUtf8(char32_t c, std::string* text) {
    if (c < 0x80) {
        text->push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        text->push_back(static_cast<char>(0xC0 | (c >> 6)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        text->push_back(static_cast<char>(0xE0 | (c >> 12)));
        text->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        text->push_back(static_cast<char>(0xF0 | (c >> 18)));
        text->push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        text->push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string utf16ToUtf8(const std::string& bytes, bool bigEndian) {
    std::string text;
    char32_t pendingHigh = 0; // the first half of a pair, or 0
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        const auto unit = static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        const bool low = unit >= 0xDC00 && unit < 0xE000;
        if (pendingHigh != 0 && low) {
            appendUtf8(0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00), &text);
            pendingHigh = 0;
            continue;
        }
        if (pendingHigh != 0) {
            appendUtf8(kReplacementCharacter, &text);
        }
        pendingHigh = unit >= 0xD800 && unit < 0xDC00 ? unit : 0;
        if (pendingHigh == 0) {
            appendUtf8(low ? kReplacementCharacter : unit, &text);
        }
    }
    if (pendingHigh != 0) {
        appendUtf8(kReplacementCharacter, &text);
    }
    return text;
}

// Whether the bytes at `first`, first + 2, ... are all zero, and no other.
bool isEveryOtherByteZero(const std::string& bytes, std::size_t first) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if ((bytes[i] == '\0') != (i % 2 == first)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::int32_t parseOffsetLine(const std::string& line) {
    // As atoi reads it: white space, a sign, digits, and whatever follows
    // ends it; the value is clamped to the 32-bit range the same on every
    // platform.
    const auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t at = 0;
    while (at < line.size() && isSpace(line[at])) {
        ++at;
    }
    const bool negative = at < line.size() && line[at] == '-';
    if (at < line.size() && (line[at] == '-' || line[at] == '+')) {
        ++at;
    }
    constexpr long long kBeyond = std::int64_t{1} << 32;
    long long value = 0;
    for (; at < line.size() && isDigit(line[at]); ++at) {
        value = std::min(value * 10 + (line[at] - '0'), kBeyond);
    }
    // A digit further on means a number written in groups ("3,906,600",
    // "3 906 600") or cut by NUL bytes: its first group is no offset.
    if (std::any_of(line.begin() + static_cast<std::ptrdiff_t>(at), line.end(), isDigit)) {
        return 0;
    }
    value = negative ? -value : value;
    return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

OffsetTable readOffsetTable(std::istream& in) {
    OffsetTable table{};
    std::string line;
    for (auto& value : table) {
        line.clear();
        // A line ends in LF, CRLF, or a lone CR (old Mac editors).
        for (int c = in.get(); c != std::char_traits<char>::eof() && c != '\n'; c = in.get()) {
            if (c == '\r') {
                if (in.peek() == '\n') {
                    in.get();
                }
                break;
            }
            line += static_cast<char>(c);
        }
        value = parseOffsetLine(line);
    }
    return table;
}

std::string decodeUpdateText(const std::string& bytes) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        return bytes.substr(3);
    }
    if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
        return utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    }
    // UTF-16 without a byte-order mark: every second byte is zero.
    for (const bool bigEndian : {false, true}) {
        if (bytes.size() >= 2 && isEveryOtherByteZero(bytes, bigEndian ? 0 : 1)) {
            return utf16ToUtf8(bytes, bigEndian);
        }
    }
    return bytes;
}

UpdateFile loadOffsetTable(const std::string& path, std::int32_t* offset, std::ostream& out) {
    std::string bytes;
    bool whole = false;
    std::string reason;
    if (!readSmallFile(path, kMaxUpdateFileSize, &bytes, &whole, &reason)) {
        // A file that is there but cannot be read may be meant for an
        // updated game: the player is told that its offset is not used.
        std::string ignored;
        if (entryAt(path, &ignored) == Entry::Missing) {
            return UpdateFile::Missing;
        }
        out << "\nNot used: could not read " << printable(path) << ": " << printable(reason) << "\n";
        return UpdateFile::Unreadable;
    }
    const std::string text = decodeUpdateText(bytes);
    std::istringstream lines(text);
    const OffsetTable table = readOffsetTable(lines);

    out << "\n--Updated Offsets!--\n";
    if (table.front() <= 0) {
        // Zero or below would land on the executable's header or nowhere.
        const std::string line = text.substr(0, text.find_first_of("\r\n"));
        out << "Ignored offset \"" << printable(line, kQuotedLineLength) << "\" from " << printable(path) << "\n";
        return UpdateFile::Ignored;
    }
    *offset = table.front();
    return UpdateFile::Used;
}

bool offsetFromGameFolder(UpdateFile working) {
    return working == UpdateFile::Missing || working == UpdateFile::Unreadable;
}

UpdateFile loadOffsetBesideGame(const std::string& gamePath, std::int32_t* offset, std::ostream& out) {
    // A game with no folder in its path is in the working folder, whose
    // file was read already.
    const std::string beside = pathBeside(gamePath, kUpdateFileName);
    return beside != kUpdateFileName ? loadOffsetTable(beside, offset, out) : UpdateFile::Missing;
}
