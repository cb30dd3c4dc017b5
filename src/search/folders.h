#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Looking into folders for the search: every call gives up quietly on a
// folder it cannot read.

/// The folders inside `folder`, sorted by name; links to folders count
/// only where `followLinks` says so.
std::vector<std::filesystem::path> subfolders(const std::filesystem::path& folder, bool followLinks);

/// The folder in `parent` whose name is `lowerName` in any case
/// ("SteamApps" for "steamapps"); the name as given comes first. Empty
/// when there is none.
std::filesystem::path childInAnyCase(const std::filesystem::path& parent, const std::string& lowerName);

/// The path that makes `path` a place of its own, whatever the links to
/// it: its canonical path, else (where it cannot be resolved) the path
/// made plain.
std::filesystem::path identityOf(const std::filesystem::path& path);

/// `name` in lower case (ASCII letters only).
std::string lowerCase(std::string name);
