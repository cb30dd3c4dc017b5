#include "platform/file_dialog.h"

#include <windows.h>

#include <commdlg.h>

bool haveFileDialog() {
    return true;
}

bool chooseFileInDialog(const FileDialog& dialog, std::string* path, unsigned long* dialogError) {
    char file[MAX_PATH] = {};
    // One filter: its name, its pattern, and an empty string to end the list.
    const std::string filter = dialog.filterName + '\0' + dialog.filterPattern + '\0';

    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = nullptr;
    request.lpstrFilter = filter.c_str(); // the string's own closing zero ends the list
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    request.lpstrTitle = dialog.title.c_str();
    request.Flags = OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT;

    if (GetOpenFileNameA(&request) != 0) {
        *path = file;
        *dialogError = 0;
        return true;
    }
    *dialogError = CommDlgExtendedError();
    return false;
}
