#pragma once

#include <filesystem>
#include <set>
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

/// `name` in lower case (ASCII letters only).
std::string lowerCase(std::string name);

/// The games a search found, in the order found, each file once however
/// many paths lead to it.
struct FoundFiles {
    std::vector<std::string> paths;
    std::set<std::filesystem::path> identities; // canonical paths of those listed
};

/// Adds `candidate` when it is a regular file (through links) not found yet.
void addIfFile(const std::filesystem::path& candidate, FoundFiles* found);
