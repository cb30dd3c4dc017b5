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
/// Reads the update file at `path`, when there is one, announces it and
/// returns true: *offset becomes its first value when that is positive; a
/// first line that is not leaves *offset as it was, with a line that quotes
/// it. A file that is there but cannot be read is named, with the
/// system's reason, and leaves *offset as it was. False, silently, when
/// there is no update file at `path`.
bool loadOffsetTable(const std::string& path, std::int32_t* offset, std::ostream& out = std::cout);
/// The same for the update file in the folder of the game at `gamePath`;
/// false for a game named without a folder.
bool loadOffsetBesideGame(const std::string& gamePath, std::int32_t* offset, std::ostream& out = std::cout);
