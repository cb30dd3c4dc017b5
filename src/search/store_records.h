#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The records that game stores' launchers keep of their installs, as JSON
// files: read bounded, and never trusted to be well-formed.

/// The JSON value in the regular file at `path` (through links) of at most
/// 1 MiB; a discarded value (is_discarded) when there is no such file or it
/// is no JSON. Never throws.
nlohmann::json readJsonRecord(const std::filesystem::path& path);

/// The text of the member `name` of `object`, when `object` is an object
/// and that member is text; else empty.
std::string textMember(const nlohmann::json& object, const char* name);

/// `folder`, a folder that a record names, as a path to search: empty when
/// it is not absolute (it would be looked for under the working folder) or
/// holds a NUL.
std::filesystem::path recordedFolder(const std::string& folder);
/// Far more games than one launcher installs: what a record lists beyond
/// this many folders is not searched.
constexpr std::size_t kMaxRecordedFolders = 4096;
/// Adds recordedFolder(`folder`) to *folders, unless that is empty or
/// *folders holds kMaxRecordedFolders already.
void addRecordedFolder(const std::string& folder, std::vector<std::filesystem::path>* folders);

/// The folders that the value `name` of each key right under `key` (in the
/// machine's registry, as 32-bit launchers write it) records, in the
/// registry's order; a bounded number of keys is read.
std::vector<std::filesystem::path> foldersInRegistry(const std::string& key, const std::string& name);
