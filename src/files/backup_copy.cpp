#include "files/backup_copy.h"

#include <cstring>
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
// The comparison with an existing backup reads both files in blocks of this size.
constexpr std::size_t kCompareBlockSize = std::size_t{1} << 16;

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

// Copies every byte of source to the new file at targetPath, with the
// permission bits of `like` (of the source when null), and forces it to
// the disk. The streams' buffers outlive both files.
bool copyToNewFile(const std::string& sourcePath, const std::string& targetPath, std::FILE* like, std::string* err) {
    std::vector<char> sourceBuffer(kStreamBufferSize);
    std::vector<char> targetBuffer(kStreamBufferSize);
    File source;
    File target;
    if (!openForReading(sourcePath, &source, err) ||
        !createNewFile(targetPath, like != nullptr ? like : source.get(), &target, err)) {
        return false;
    }
    // The system's own copy first: a clone costs nothing, whatever the size.
    if (!copyInSystem(source.get(), target.get(), err)) {
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

// Whether the file at backupPath already holds the game at gamePath as it
// was before any patch. What is no file of its own there (nothing, a link,
// a folder) does not; a file there that cannot be read may be the only
// original, so that is a failure, as is a failed read.
bool holdsTheGame(const std::string& gamePath, const std::string& backupPath, bool* holds, std::string* err) {
    *holds = false;
    File game;
    File backup;
    if (!openRegularFileForReading(backupPath, false, &backup, err)) {
        const Entry entry = entryAt(backupPath, err);
        return entry == Entry::Missing || entry == Entry::Other;
    }
    BackupMatch match = BackupMatch::OtherGame;
    if (!openForReading(gamePath, &game, err) || !compareWithBackup(game.get(), backup.get(), &match, err)) {
        return false;
    }
    *holds = match == BackupMatch::SameGame || match == BackupMatch::Identical;
    return true;
}

} // namespace

bool compareWithBackup(std::FILE* game, std::FILE* backup, BackupMatch* match, std::string* err) {
    *match = BackupMatch::OtherGame;
    std::int64_t gameSize = 0;
    std::int64_t backupSize = 0;
    if (!fileSize(game, &gameSize, err) || !fileSize(backup, &backupSize, err)) {
        return false;
    }
    if (isSameFile(game, backup)) {
        *match = BackupMatch::SecondName;
        return true;
    }
    if (gameSize != backupSize) {
        return true;
    }
    std::vector<char> gameBlock(kCompareBlockSize);
    std::vector<char> backupBlock(kCompareBlockSize);
    std::int64_t position = 0;
    std::int64_t changed = 0;
    for (;;) {
        std::size_t gameCount = 0;
        std::size_t backupCount = 0;
        if (!readBlock(game, &gameBlock, &gameCount, err) || !readBlock(backup, &backupBlock, &backupCount, err)) {
            return false;
        }
        if (gameCount != backupCount) {
            return true; // one of them changed size meanwhile
        }
        if (gameCount == 0) {
            break;
        }
        if (std::memcmp(gameBlock.data(), backupBlock.data(), gameCount) != 0) {
            for (std::size_t i = 0; i < gameCount; ++i) {
                changed += gameBlock[i] != backupBlock[i] ? 1 : 0;
            }
            if (changed > kMaxChangedBytes) {
                return true;
            }
        }
        position += static_cast<std::int64_t>(gameCount);
    }
    if (position == gameSize) {
        *match = changed == 0 ? BackupMatch::Identical : BackupMatch::SameGame;
    }
    return true;
}

bool copyOver(const std::string& source, const std::string& target, File* openTarget, std::string* note,
              std::string* err) {
    const std::string temporaryPath = target + kTemporarySuffix;
    // Whatever a killed run, or anything else, left at the temporary name
    // goes first: the copy is made in a file of this run's own.
    if (removeFile(temporaryPath, err) &&
        copyToNewFile(source, temporaryPath, openTarget != nullptr ? openTarget->get() : nullptr, err)) {
        if (openTarget != nullptr) {
            openTarget->reset();
        }
        if (replaceFile(temporaryPath, target, note, err)) {
            return true;
        }
    }
    std::string ignored;
    removeFile(temporaryPath, &ignored);
    return false;
}

void removeLeftovers(const std::string& gamePath) {
    std::string ignored;
    for (const std::string& copy : {gamePath + kBackupSuffix, finalPath(gamePath)}) {
        // Looked at first: most runs find nothing to remove.
        if (isRegularFile(copy + kTemporarySuffix)) {
            removeFile(copy + kTemporarySuffix, &ignored);
        }
    }
}

bool backupExecutable(const std::string& path, Backup* backup, std::string* err) {
    backup->path = path + kBackupSuffix;
    backup->note.clear();

    std::string reason;
    // A backup from an earlier run holds the game before its patch: copying
    // the game again now would put a patched game in its place.
    bool kept = false;
    std::string folderNote;
    if (holdsTheGame(path, backup->path, &kept, &reason) &&
        (kept || copyOver(path, backup->path, nullptr, &folderNote, &reason))) {
        if (!folderNote.empty()) {
            backup->note = "could not sync the folder of " + backup->path + ": " + folderNote;
        }
        return true;
    }
    *err = "could not copy " + path + " to " + backup->path + ": " + reason;
    return false;
}
