#pragma once

#include <iostream>
#include <string>

// Text from the player, and text quoted back: bounded whatever comes in.

/// The longest answer that is read; the rest of a longer line is dropped.
constexpr std::size_t kMaxAnswerLength = 4096;
/// The most of an answer that a message quotes back.
constexpr std::size_t kMaxQuotedAnswer = 200;
/// The most bytes of a quote, whatever its characters.
constexpr std::size_t kMaxQuotedBytes = 800;
/// No cut: the whole text, made printable.
constexpr std::size_t kWholeText = static_cast<std::size_t>(-1);

/// Reads one line (without its newline; a last line without one counts)
/// of at most kMaxAnswerLength bytes. A longer line is consumed to its end
/// in memory that does not grow with it; *line then holds its first
/// kMaxAnswerLength bytes and *tooLong is true. False at the end of input.
bool readAnswerLine(std::istream& in, std::string* line, bool* tooLong);

/// Text from outside (an answer, a file's line, a path, a name from a
/// store's record) as it may be printed on the console: control
/// characters (C0 but the tab, DEL, C1) become visible escapes such as
/// "\x1B", and bytes that are no UTF-8 become U+FFFD, so nothing in it
/// can steer the terminal. With a `limit`, it is cut after that many
/// characters, and after kMaxQuotedBytes bytes, followed by "…" when
/// anything was cut.
std::string printable(const std::string& text, std::size_t limit = kWholeText);
