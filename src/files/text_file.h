#pragma once

#include <functional>
#include <string>

/// Puts `text` at `path` as a file of the tool's own: over the file there
/// in place, where that is a regular file with no other name; else written
/// whole into a temporary beside it (temporaryPathOf), which then takes the
/// name. Nothing is ever written through: a link or another name of a file
/// is replaced, not followed, and a folder stays. Not synced: for a file whose loss in a
/// power cut harms nothing. On failure *err says why, and the temporary
/// is gone.
bool replaceWithText(const std::string& path, const std::string& text, std::string* err);

/// Puts `text` at `path` so that, once the call returns, it is there whole,
/// also after a power cut: written into a temporary beside it and synced,
/// then moved over whatever had the name (replaceFile, whose *note it
/// gives). Never written through a link; a folder stays. `mayMove`, where
/// given, is asked last, just before the move: where it says no (with its
/// reason), the temporary goes and the file stays as it was.
bool replaceWithSyncedText(const std::string& path, const std::string& text, std::string* note, std::string* err,
                           const std::function<bool(std::string* why)>& mayMove = nullptr);
