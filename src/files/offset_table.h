#pragma once

#include <array>
#include <cstdint>
#include <iostream>
#include <string>

constexpr std::size_t kOffsetLineCount = 8;
using OffsetTable = std::array<std::int32_t, kOffsetLineCount>;

/// One line converted as atoi does, clamped to the 32-bit range; 0 for a
/// number followed by more digits on its line ("3,906,600"), which atoi
/// would cut short.
std::int32_t parseOffsetLine(const std::string& line);
/// The first eight lines of the stream, each ended by LF, CRLF or a lone
/// CR; missing lines read as 0.
OffsetTable readOffsetTable(std::istream& in);
/// The update file's bytes as UTF-8 text: a UTF-8 byte-order mark is
/// dropped, and a file with a UTF-16 byte-order mark (either byte order,
/// as Windows tools save text), or without one but with every second byte
/// zero, is converted.
std::string decodeUpdateText(const std::string& bytes);
/// What came of an update file.
enum class UpdateFile {
    Missing,    // there is none
    Unreadable, // it is there but could not be read: said, with the system's reason
    Ignored,    // its first line is no offset: said, quoting it
    Used,       // its first line is the offset
};

/// Reads the update file at `path`, when there is one, and announces it:
/// *offset becomes its first value when that is positive. A first line
/// that is not leaves *offset as it was, with a line that quotes it. A
/// file that is there but cannot be read is named, with the system's
/// reason, and leaves *offset as it was: the one in the game's folder may
/// then be used (see offsetFromGameFolder). Silent when there is no file.
UpdateFile loadOffsetTable(const std::string& path, std::int32_t* offset, std::ostream& out = std::cout);
/// Whether the update file in the game's folder is read after the working
/// folder's came to `working`: when that is missing or unreadable.
bool offsetFromGameFolder(UpdateFile working);
/// The same for the update file in the folder of the game at `gamePath`;
/// Missing for a game named without a folder (the working folder's file).
UpdateFile loadOffsetBesideGame(const std::string& gamePath, std::int32_t* offset, std::ostream& out = std::cout);
