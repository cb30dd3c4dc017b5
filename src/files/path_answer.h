#pragma once

#include <string>

/// A path as a Linux user types or pastes it, made plain: blanks around it
/// and a closing carriage return go, matching quotes around it are removed
/// (backslashes inside them stay as they are), shell-style backslash escapes
/// ("My\ Games") are undone, a file:// URI becomes its path with its %XX
/// escapes decoded, and "~" or "~/..." starts at `home` when that is set.
std::string pathFromAnswer(const std::string& answer, const std::string& home);
