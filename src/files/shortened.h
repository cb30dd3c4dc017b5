#pragma once

#include <string>

/// The text as it may be quoted back to the player: its first `limit`
/// characters (UTF-8 sequences are kept whole), followed by "…" when there
/// were more.
std::string shortened(const std::string& text, std::size_t limit);
