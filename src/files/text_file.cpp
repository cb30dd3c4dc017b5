#include "files/text_file.h"

#include "files/backup_copy.h"
#include "platform/file_system.h"

bool replaceWithText(const std::string& path, const std::string& text, std::string* err) {
    const std::string temporary = temporaryPathOf(path);
    File file;
    // A temporary that a killed run left behind goes first.
    if (!removeFile(temporary, err) || !createNewFile(temporary, nullptr, &file, err)) {
        return false;
    }
    if (!writeAll(file.get(), text.data(), text.size(), err) || !closeFile(&file, err) ||
        !renameOver(temporary, path, err)) {
        std::string ignored;
        file.reset();
        removeFile(temporary, &ignored);
        return false;
    }
    return true;
}
