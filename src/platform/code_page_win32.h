#pragma once

#include <string>

// Text between the program's code page, in which it keeps every path and
// text (UTF-8 by its manifest from Windows 10 version 1903 on, before that
// the system's own, as the dialog and the command line then give them),
// and the UTF-16 of Windows' wide-character functions.

std::wstring toWide(const std::string& text);
std::string fromWide(const std::wstring& text);
