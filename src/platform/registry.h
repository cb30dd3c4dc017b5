#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The system's registry of settings, where it has one (Windows).

enum class RegistryRoot {
    CurrentUser,  // this user's settings
    LocalMachine, // the machine's, as 32-bit programs see them
};

/// The text of the value `name` of the key `key` ("Software\\Valve\\Steam")
/// under `root`, in UTF-8. False when the system has no
/// registry, or the key or the value is missing, or the value is no text.
bool readRegistryText(RegistryRoot root, const std::string& key, const std::string& name, std::string* text);

/// The number (a DWORD) of the value `name` of the key `key` under `root`.
/// False when the system has no registry, or the key or the value is
/// missing, or the value is no such number.
bool readRegistryNumber(RegistryRoot root, const std::string& key, const std::string& name, std::uint32_t* number);

/// The names of the keys right under `key`, as the registry lists them, at
/// most `limit` of them; none where the key or the registry is missing.
std::vector<std::string> registrySubkeys(RegistryRoot root, const std::string& key, std::size_t limit);
