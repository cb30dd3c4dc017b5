#include <windows.h>

#include <commdlg.h>
#include <io.h>

#include <iostream>

#include "files/game_files.h"
#include "platform/platform.h"

std::string askForExecutable() {
    char file[MAX_PATH] = {};

    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = nullptr;
    dialog.lpstrFilter = "Gorv\0gorv.exe\0"; // the literal adds the closing zero
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = "Locate your Gorv Executable";
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_DONTADDTORECENT;

    if (GetOpenFileNameA(&dialog) != 0) {
        return std::string(file);
    }
    std::cout << commonDialogErrorText(CommDlgExtendedError()) << std::flush;
    return kFailedPath;
}

bool syncToDisk(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}
