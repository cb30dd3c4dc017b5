#include "platform/registry.h"

#include "platform/code_page_win32.h"

#include <windows.h>

#include <vector>

bool readRegistryText(RegistryRoot root, const std::string& key, const std::string& name, std::string* text) {
    const HKEY base = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring keyName = toWide(key);
    const std::wstring valueName = toWide(name);
    // Text values only (REG_EXPAND_SZ comes with its variables expanded);
    // anything else fails on its type.
    const DWORD flags = RRF_RT_REG_SZ;
    DWORD size = 0;
    if (RegGetValueW(base, keyName.c_str(), valueName.c_str(), flags, nullptr, nullptr, &size) != ERROR_SUCCESS) {
        return false;
    }
    std::vector<wchar_t> value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegGetValueW(base, keyName.c_str(), valueName.c_str(), flags, nullptr, value.data(), &size) != ERROR_SUCCESS) {
        return false;
    }
    // A value with a NUL inside is cut there by Windows' own readers too.
    *text = fromWide(std::wstring(value.data()));
    return true;
}
