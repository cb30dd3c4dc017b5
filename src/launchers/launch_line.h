#pragma once

#include <string>

// The launch line that keeps the game patched: this tool's part, then the
// launcher's own options, as Steam and Heroic run them.

/// The tool's arguments before the game's command: "--screen SIZE --" (a
/// wrapper's arguments in Heroic).
std::string launchArguments(const std::string& size);

/// The tool's part of a launch line: `program` (as the launcher needs it
/// quoted), then launchArguments.
std::string launchPart(const std::string& program, const std::string& size);

/// Whether `path` names one of the tool's programs (gorv-patcher,
/// gorv-patcher.exe, gorv-patcherw.exe, in any case).
bool isToolProgram(const std::string& path);

/// Whether `options` start with a part of the tool's (any of its programs,
/// any size); *rest is what follows that part and its space.
bool startsWithLaunchPart(const std::string& options, std::string* rest);

/// `options` with the tool's part in front: only the size is replaced in
/// options that start with a part of the tool's already; options that hold
/// %command% keep it after the part; other options are the game's
/// arguments, after %command%.
std::string withLaunchPart(const std::string& options, const std::string& program, const std::string& size);
