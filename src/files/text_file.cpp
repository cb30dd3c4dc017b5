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

// Writes the text into a new temporary beside `path` (synced where `sync`
// says so), which `move` then moves to `path`; the temporary goes on any
// failure.
template <typename Move>
bool replaceThroughTemporary(const std::string& path, const std::string& text, bool sync, Move move, std::string* err) {
    const std::string temporary = temporaryPathOf(path);
    File file;
    // The new file keeps the permissions of the one it replaces (read-only,
    // say), where there is one.
    File old;
    std::string ignored;
    const bool replaces = isRegularFile(path) && openForReading(path, &old, &ignored);
    // A temporary that a killed run left behind goes first.
    if (!removeFile(temporary, err) || !createNewFile(temporary, replaces ? old.get() : nullptr, &file, err)) {
        return false;
    }
    old.reset(); // Windows renames nothing over a file that is open
    if (!writeAll(file.get(), text.data(), text.size(), err) || (sync && !syncFile(file.get(), err)) ||
        !closeFile(&file, err) || !move(temporary, err)) {
        file.reset();
        removeFile(temporary, &ignored);
        return false;
    }
    return true;
}

} // namespace

bool replaceWithText(const std::string& path, const std::string& text, std::string* err) {
    // Anything else at the name (nothing, a link, a file with another name)
    // is replaced by a new file.
    return writeOver(path, text, err) ||
           replaceThroughTemporary(
               path, text, false,
               [&path](const std::string& temporary, std::string* why) { return renameOver(temporary, path, why); },
               err);
}

bool replaceWithSyncedText(const std::string& path, const std::string& text, std::string* note, std::string* err,
                           const std::function<bool(std::string* why)>& mayMove) {
    return replaceThroughTemporary(
        path, text, true,
        [&path, note, &mayMove](const std::string& temporary, std::string* why) {
            return (!mayMove || mayMove(why)) && replaceFile(temporary, path, note, why);
        },
        err);
}
