#include "platform/file_dialog.h"

#include <windows.h>

#include <commdlg.h>

#include "platform/code_page_win32.h"

#include <cwchar>
#include <vector>

namespace {

// Room for a path of Windows' usual limit, 260 characters, and more.
constexpr std::size_t kPathBufferSize = 4 * MAX_PATH + 1;

// The folder, or its nearest parent, that the dialog's own buffers of
// MAX_PATH characters hold; empty when not even the drive does. A longer
// folder can crash the dialog or open it elsewhere.
std::string folderThatFits(std::string folder) {
    while (!folder.empty() && toWide(folder).size() >= MAX_PATH) {
        const std::size_t separator = folder.find_last_of('\\');
        folder.resize(separator == std::string::npos ? 0 : separator);
    }
    return folder;
}

} // namespace

bool haveFileDialog() {
    return true;
}

bool chooseFileInDialog(const FileDialog& dialog, std::string* path, unsigned long* dialogError) {
    std::vector<wchar_t> file(kPathBufferSize, L'\0');
    // One filter: its name, its pattern, and an empty string to end the list.
    const std::wstring filter = toWide(dialog.filterName + '\0' + dialog.filterPattern + '\0');
    const std::wstring title = toWide(dialog.title);

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = nullptr;
    request.lpstrFilter = filter.c_str(); // the string's own closing zero ends the list
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrTitle = title.c_str();
    const std::wstring initialFolder = toWide(folderThatFits(dialog.initialFolder));
    request.lpstrInitialDir = initialFolder.empty() ? nullptr : initialFolder.c_str();
    request.Flags = OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT;

    if (GetOpenFileNameW(&request) != 0) {
        // Up to the first zero, and never past the buffer.
        *path = fromWide(std::wstring(file.data(), wcsnlen(file.data(), file.size())));
        *dialogError = 0;
        return true;
    }
    *dialogError = CommDlgExtendedError();
    return false;
}
