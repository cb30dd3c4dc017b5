#include "platform/desktop_start.h"

#include <windows.h>

#include "platform/code_page_win32.h"

// Windows opens a console window for a console program however it starts.

TerminalStart restartInTerminalWindow(const char*, const std::vector<std::string>&, std::string*) {
    return TerminalStart::NotNeeded;
}

void showOnDesktop(const std::string& title, const std::string& message, DesktopMessage kind) {
    const UINT icon = kind == DesktopMessage::Error ? MB_ICONERROR : MB_ICONINFORMATION;
    MessageBoxW(nullptr, toWide(message).c_str(), toWide(title).c_str(), MB_OK | icon | MB_SETFOREGROUND);
}

bool askOnDesktop(const std::string& title, const std::string& question) {
    return MessageBoxW(nullptr, toWide(question).c_str(), toWide(title).c_str(),
                       MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) == IDYES;
}

bool primaryScreenSize(unsigned* width, unsigned* height) {
    DEVMODEW mode{};
    mode.dmSize = sizeof mode;
    if (EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) == 0 || mode.dmPelsWidth == 0 ||
        mode.dmPelsHeight == 0) {
        return false;
    }
    *width = mode.dmPelsWidth;
    *height = mode.dmPelsHeight;
    return true;
}
