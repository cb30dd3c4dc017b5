#include "platform/registry.h"

#include "platform/code_page_win32.h"

#include <windows.h>

#include <memory>
#include <type_traits>
#include <vector>

namespace {

HKEY rootKey(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

struct KeyCloser {
    void operator()(HKEY key) const {
        RegCloseKey(key);
    }
};
using Key = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

} // namespace

bool readRegistryText(RegistryRoot root, const std::string& key, const std::string& name, std::string* text) {
    const HKEY base = rootKey(root);
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

bool readRegistryNumber(RegistryRoot root, const std::string& key, const std::string& name, std::uint32_t* number) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(rootKey(root), toWide(key).c_str(), toWide(name).c_str(), RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
        return false;
    }
    *number = value;
    return true;
}

std::vector<std::string> registrySubkeys(RegistryRoot root, const std::string& key, std::size_t limit) {
    std::vector<std::string> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(rootKey(root), toWide(key).c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &opened) != ERROR_SUCCESS) {
        return names;
    }
    const Key owned(opened);
    // A key's name has at most 255 characters.
    wchar_t name[256];
    for (DWORD index = 0; names.size() < limit; ++index) {
        DWORD length = static_cast<DWORD>(sizeof name / sizeof name[0]);
        if (RegEnumKeyExW(owned.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
            break;
        }
        names.push_back(fromWide(std::wstring(name, length)));
    }
    return names;
}
