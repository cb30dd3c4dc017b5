#include "files/backup_copy.h"

#include <vector>

#include "files/game_files.h"
#include "platform/file_system.h"

namespace {

// The copy moves the file through one block of this size.
constexpr std::size_t kCopyBlockSize = 512;
// Large stream buffers let the small blocks move at the disk's speed, with
// memory use small and independent of the file's size.
constexpr std::size_t kStreamBufferSize = std::size_t{1} << 18;

const char* const kTemporarySuffix = ".tmp";

// Copies every byte of source to the new file at targetPath and forces it
// to the disk. The streams' buffers outlive both files.
bool copyToNewFile(const std::string& sourcePath, const std::string& targetPath, std::string* err) {
    std::vector<char> sourceBuffer(kStreamBufferSize);
    std::vector<char> targetBuffer(kStreamBufferSize);
    File source;
    File target;
    if (!openForReading(sourcePath, &source, err) || !createNewFile(targetPath, source.get(), &target, err)) {
        return false;
    }
    std::setvbuf(source.get(), sourceBuffer.data(), _IOFBF, sourceBuffer.size());
    std::setvbuf(target.get(), targetBuffer.data(), _IOFBF, targetBuffer.size());

    char block[kCopyBlockSize];
    for (;;) {
        std::size_t count = 0;
        if (!readSome(source.get(), block, sizeof block, &count, err)) {
            return false;
        }
        if (count == 0) {
            break;
        }
        if (!writeAll(target.get(), block, count, err)) {
            return false;
        }
    }
    return syncFile(target.get(), err) && closeFile(&target, err);
}

} // namespace

bool backupExecutable(const std::string& path, std::string* backupPath, std::string* err) {
    *backupPath = path + kBackupSuffix;
    const std::string temporaryPath = *backupPath + kTemporarySuffix;

    std::string reason;
    // Whatever a killed run, or anything else, left at the temporary name
    // goes first: the copy is made in a file of this run's own.
    if (removeFile(temporaryPath, &reason) && copyToNewFile(path, temporaryPath, &reason) &&
        replaceFile(temporaryPath, *backupPath, &reason)) {
        return true;
    }
    std::string ignored;
    removeFile(temporaryPath, &ignored);
    *err = "could not copy " + path + " to " + *backupPath + ": " + reason;
    return false;
}
