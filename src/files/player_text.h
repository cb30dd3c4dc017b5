#pragma once

#include <iostream>
#include <string>

// Text from the player, and text quoted back: bounded whatever comes in.

/// The longest answer that is read; the rest of a longer line is dropped.
constexpr std::size_t kMaxAnswerLength = 4096;
/// The most of an answer that a message quotes back.
constexpr std::size_t kMaxQuotedAnswer = 200;

/// Reads one line (without its newline; a last line without one counts)
/// of at most kMaxAnswerLength bytes. A longer line is consumed to its end
/// in memory that does not grow with it; *line then holds its first
/// kMaxAnswerLength bytes and *tooLong is true. False at the end of input.
bool readAnswerLine(std::istream& in, std::string* line, bool* tooLong);

/// The text as it may be quoted back to the player: its first `limit`
/// characters (UTF-8 sequences are kept whole), followed by "…" when there
/// were more.
std::string shortened(const std::string& text, std::size_t limit);
