#include "platform/file_dialog.h"

// A console program here has no dialog of its own to show.

bool haveFileDialog() {
    return false;
}

bool chooseFileInDialog(const FileDialog&, std::string*, unsigned long* dialogError) {
    *dialogError = 0;
    return false;
}
