#include "platform/registry.h"

#include <windows.h>

#include <vector>

namespace {

std::wstring wide(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring converted(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) {
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &converted[0], length);
    }
    return converted;
}

std::string narrow(const std::wstring& text) {
    const int length =
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &converted[0], length, nullptr,
                            nullptr);
    }
    return converted;
}

} // namespace

bool readRegistryText(RegistryRoot root, const std::string& key, const std::string& name, std::string* text) {
    const HKEY base = root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
    const std::wstring keyName = wide(key);
    const std::wstring valueName = wide(name);
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
    *text = narrow(std::wstring(value.data()));
    return true;
}
