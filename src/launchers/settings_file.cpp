#include "launchers/settings_file.h"

#include "files/backup_copy.h"
#include "files/text_file.h"
#include "platform/file_system.h"

bool readSettingsFile(const std::string& path, std::string* text, std::string* err) {
    bool whole = false;
    if (!readSmallFile(path, kMaxSettingsSize, text, &whole, err)) {
        return false;
    }
    if (!whole) {
        *err = "it is over 64 MiB, which no launcher's settings are";
        return false;
    }
    return true;
}

bool writeSettingsFile(const std::string& path, const std::string& text, std::string* copy, std::string* note,
                       std::string* err, const std::function<bool(std::string* why)>& mayMove) {
    const std::string file = finalPath(path);
    *copy = file + ".gorv-patcher";
    std::string copyNote;
    return copyOver(file, *copy, nullptr, &copyNote, err) && replaceWithSyncedText(file, text, note, err, mayMove);
}
