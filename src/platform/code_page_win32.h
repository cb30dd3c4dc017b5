#pragma once

#include <string>

// Text between the program's code page, in which it keeps every path and
// text (UTF-8 by its manifest from Windows 10 version 1903 on, before that
// the system's own, as the dialog and the command line then give them),
// and the UTF-16 of Windows' wide-character functions.

std::wstring toWide(const std::string& text);
std::string fromWide(const std::wstring& text);

/// The system's message for a Windows error code, in the system's language
/// ("The process cannot access the file because it is being used by another
/// process."), without its line break.
std::string windowsMessage(unsigned long code);
