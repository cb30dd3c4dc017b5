#pragma once

#include <array>
#include <cstdint>
#include <iostream>
#include <string>

constexpr std::size_t kOffsetLineCount = 8;
using OffsetTable = std::array<std::int32_t, kOffsetLineCount>;

/// One line converted as atoi does, clamped to the 32-bit range.
std::int32_t parseOffsetLine(const std::string& line);
/// The first eight lines of the stream; missing lines read as 0.
OffsetTable readOffsetTable(std::istream& in);
/// The patch offset: the update file's first value when the file is there
/// and that value is positive, else the built-in one. Announces the file.
std::int32_t loadOffsetTable(std::ostream& out = std::cout);
