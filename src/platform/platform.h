#pragma once

#include <cstdio>
#include <string>

// What the tool needs from the operating system. Each platform has one
// source file that implements all of it.

// Asks the user where the game's executable is. Returns its path, or
// kFailedPath when the user cancels or the question cannot be asked; may
// print one line saying why.
std::string askForExecutable();

// Forces a flushed stream's data to the disk.
bool syncToDisk(std::FILE* file);

// Moves `from` over `to` in one step: afterwards `to` is either the old file
// or the whole new one.
bool replaceFile(const std::string& from, const std::string& to);
