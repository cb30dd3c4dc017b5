#pragma once

#include <string>

#include "platform/file_system.h"

/// The sentence for a game file that could not be opened to `action` it
/// ("write", "lock"), in the player's words where the player can act on the
/// refusal (the game is running, the file is read-only), always ending in
/// the system's reason.
std::string openRefusalText(const std::string& path, const std::string& action, Refusal refusal,
                            const std::string& reason);
