#pragma once

#include <string>

// The system's own open-file dialog, where there is one.

struct FileDialog {
    std::string title;
    std::string filterName;    // what the file type list shows
    std::string filterPattern; // which files it lists, e.g. "*.txt"
    std::string initialFolder; // the folder it opens in; empty: the system's choice
};

/// True where the system has an open-file dialog.
bool haveFileDialog();

/// Shows the dialog. True with the chosen file's full path in *path; false
/// when the user cancelled (*dialogError 0) or the dialog failed
/// (*dialogError holds the system's common-dialog error code).
bool chooseFileInDialog(const FileDialog& dialog, std::string* path, unsigned long* dialogError);
