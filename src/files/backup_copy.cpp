#include "files/backup_copy.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "files/game_files.h"
#include "platform/file_system.h"
#include "ratio/patch_value.h"

namespace {

// The copy moves the file through one block of this size.
constexpr std::size_t kCopyBlockSize = 512;
// Large stream buffers let the small blocks move at the disk's speed, with
// memory use small and independent of the file's size.
constexpr std::size_t kStreamBufferSize = std::size_t{1} << 18;

const char* const kTemporarySuffix = ".tmp";
// The comparison with an existing backup reads both files in blocks of this size.
constexpr std::size_t kCompareBlockSize = std::size_t{1} << 16;
// The bytes a patch changes, which an earlier backup may differ in.
constexpr auto kPatchSize = static_cast<std::int64_t>(std::tuple_size<PatchValue>::value);

// Fills the block unless the file ends first; *count says how far.
bool readBlock(std::FILE* file, std::vector<char>* block, std::size_t* count, std::string* err) {
    *count = 0;
    std::size_t got = 0;
    do {
        if (!readSome(file, block->data() + *count, block->size() - *count, &got, err)) {
            return false;
        }
        *count += got;
    } while (got > 0 && *count < block->size());
    return true;
}

// Whether the backup at backupPath still holds the game at gamePath as it
// was before any patch: a file of its own, of the same size, equal but for
// at most the four bytes at patchOffset. A backup that cannot be opened
// (none there, a link, a folder) does not; a failed read is a failure.
bool holdsTheUnpatchedGame(const std::string& gamePath, const std::string& backupPath, std::int32_t patchOffset,
                           bool* holds, std::string* err) {
    *holds = false;
    File game;
    File backup;
    std::string ignored;
    if (!openRegularFileForReading(backupPath, false, &backup, &ignored)) {
        return true;
    }
    std::int64_t gameSize = 0;
    std::int64_t backupSize = 0;
    if (!openForReading(gamePath, &game, err) || !fileSize(game.get(), &gameSize, err) ||
        !fileSize(backup.get(), &backupSize, err)) {
        return false;
    }
    if (gameSize != backupSize || isSameFile(game.get(), backup.get())) {
        return true;
    }
    std::vector<char> gameBlock(kCompareBlockSize);
    std::vector<char> backupBlock(kCompareBlockSize);
    std::int64_t position = 0;
    for (;;) {
        std::size_t gameCount = 0;
        std::size_t backupCount = 0;
        if (!readBlock(game.get(), &gameBlock, &gameCount, err) ||
            !readBlock(backup.get(), &backupBlock, &backupCount, err)) {
            return false;
        }
        if (gameCount != backupCount) {
            return true; // one of them changed size meanwhile
        }
        if (gameCount == 0) {
            break;
        }
        const bool equal = std::memcmp(gameBlock.data(), backupBlock.data(), gameCount) == 0;
        for (std::size_t i = 0; !equal && i < gameCount; ++i) {
            const std::int64_t at = position + static_cast<std::int64_t>(i);
            if (gameBlock[i] != backupBlock[i] && (at < patchOffset || at >= patchOffset + kPatchSize)) {
                return true;
            }
        }
        position += static_cast<std::int64_t>(gameCount);
    }
    *holds = position == gameSize;
    return true;
}

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

bool backupExecutable(const std::string& path, std::int32_t patchOffset, Backup* backup, std::string* err) {
    backup->path = path + kBackupSuffix;
    backup->note.clear();
    const std::string temporaryPath = backup->path + kTemporarySuffix;

    std::string reason;
    // A backup from an earlier run holds the game before its patch: copying
    // the game again now would put a patched game in its place. Otherwise
    // whatever a killed run, or anything else, left at the temporary name
    // goes first: the copy is made in a file of this run's own.
    bool kept = false;
    std::string folderNote;
    if (holdsTheUnpatchedGame(path, backup->path, patchOffset, &kept, &reason) &&
        (kept || (removeFile(temporaryPath, &reason) && copyToNewFile(path, temporaryPath, &reason) &&
                  replaceFile(temporaryPath, backup->path, &folderNote, &reason)))) {
        if (!folderNote.empty()) {
            backup->note = "could not sync the folder of " + backup->path + ": " + folderNote;
        }
        return true;
    }
    std::string ignored;
    removeFile(temporaryPath, &ignored);
    *err = "could not copy " + path + " to " + backup->path + ": " + reason;
    return false;
}
