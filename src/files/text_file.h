#pragma once

#include <string>

/// Puts `text` at `path` as a file of the tool's own: written whole into a
/// temporary beside it (temporaryPathOf), which then takes the name. What
/// stood there is replaced, never written through: a link is replaced, not
/// followed, and a folder stays. Not synced: for a file whose loss in a
/// power cut harms nothing. On failure *err says why, and the temporary
/// is gone.
bool replaceWithText(const std::string& path, const std::string& text, std::string* err);
