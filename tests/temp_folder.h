#pragma once

#include <filesystem>
#include <string>

// A fresh, empty folder for one test, removed again with everything in it.
struct TempFolder {
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The path of a file inside the folder, as the tool's narrow strings.
    std::string file(const std::string& name) const;

    std::filesystem::path path;
};

void writeBytes(const std::string& path, const std::string& bytes);
// The bytes of the file at `path`; empty where no file is.
std::string readBytes(const std::string& path);
// Bytes that differ from position to position, so that a shifted or
// misplaced copy cannot pass for the original.
std::string patternBytes(std::size_t size);
// The text after `prefix` in a failure message: the system's reason. Empty
// when the message does not start with the prefix.
std::string reasonAfter(const std::string& message, const std::string& prefix);
