#pragma once

#include <string>

// Text between the UTF-8 in which the program keeps every path and text,
// on every system and whatever Windows' code page, and the UTF-16 of
// Windows' wide-character functions, through which alone it calls Windows.

std::wstring toWide(const std::string& text);
std::string fromWide(const std::wstring& text);

/// The system's message for a Windows error code, in the system's language
/// ("The process cannot access the file because it is being used by another
/// process."), without its line break.
std::string windowsMessage(unsigned long code);
