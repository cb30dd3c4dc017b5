#include "launchers/program_copy.h"

#include "files/backup_copy.h"
#include "platform/file_system.h"

bool placeProgram(const std::string& source, const std::string& target, std::string* err) {
    File from;
    if (!openForReading(source, &from, err)) {
        return false;
    }
    File to;
    std::string ignored;
    if (isRegularFile(target) && openForReading(target, &to, &ignored)) {
        BackupMatch match = BackupMatch::OtherGame;
        if (isSameFile(from.get(), to.get()) ||
            (compareWithBackup(from.get(), to.get(), &match, &ignored) && match == BackupMatch::Identical)) {
            return true;
        }
    }
    to.reset();
    from.reset();
    std::string note;
    return makeFolders(folderOf(target), err) && copyOver(source, target, nullptr, &note, err);
}
