#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Steam's list of its library folders, libraryfolders.vdf: KeyValues text,
// as Steam has written it over the years.

/// The library folders that the text lists: the values of "path" keys (in
/// any case) and, in the older form, of numbered keys at the top level, in
/// the order listed. Empty values, and values with a NUL byte (no path),
/// are skipped; a byte-order mark and CRLF
/// lines are fine. Empty for a text that is not well-formed KeyValues.
std::vector<std::string> libraryFoldersIn(const std::string& vdf);

/// The text of the file at `path` when it is a regular file (through links)
/// of at most 1 MiB, else nothing; never waits on a pipe.
std::string readLibraryFile(const std::filesystem::path& path);
