#pragma once

#include <functional>
#include <string>

// Another program's settings file, changed by the tool: read whole, and
// written so that a failure or a power cut leaves the old file or the
// whole new one, never a part.

/// The largest settings file the tool reads; a larger one is not a
/// launcher's.
constexpr std::size_t kMaxSettingsSize = std::size_t{64} << 20;

/// Reads the regular file at `path` (through links) whole into *text.
/// False, with the reason, for no such file, one over kMaxSettingsSize, or
/// a failed read.
bool readSettingsFile(const std::string& path, std::string* text, std::string* err);

/// Puts `text` in place of the settings at `path`: in the file that the
/// path leads to (a link stays a link), after a copy of its old content
/// was kept beside it as NAME.gorv-patcher (one copy, replaced each time);
/// written to a new file that is synced and then renamed over the old,
/// with the old one's permission bits. *copy is the kept copy's path;
/// *note as for replaceFile. `mayMove` is asked just before the rename (see
/// replaceWithSyncedText).
bool writeSettingsFile(const std::string& path, const std::string& text, std::string* copy, std::string* note,
                       std::string* err, const std::function<bool(std::string* why)>& mayMove = nullptr);
