#include "files/text_file.h"

#include "files/backup_copy.h"
#include "platform/file_system.h"

namespace {

// Writes the text over the file at `path` in place, where that is a file
// of its own: cheaper than a new file and a rename over the old one.
bool writeOver(const std::string& path, const std::string& text, std::string* err) {
    File file;
    return openSoleFileForWriting(path, &file, err) && writeAll(file.get(), text.data(), text.size(), err) &&
           cutFile(file.get(), static_cast<std::int64_t>(text.size()), err) && closeFile(&file, err);
}

} // namespace

bool replaceWithText(const std::string& path, const std::string& text, std::string* err) {
    if (writeOver(path, text, err)) {
        return true;
    }
    // Anything else at the name (nothing, a link, a file with another name)
    // is replaced by a new file.
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
