#include "files/backup_copy.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "files/executable_locator.h"
#include "files/executable_lock.h"
#include "files/game_files.h"
#include "platform/file_system.h"

namespace {

// The copy moves the file through one block of this size.
constexpr std::size_t kCopyBlockSize = 512;
// Large stream buffers let the small blocks move at the disk's speed, with
// memory use small and independent of the file's size.
constexpr std::size_t kStreamBufferSize = std::size_t{1} << 18;

const std::string kTemporarySuffix = ".tmp";
// Marks a temporary copy of a file that is not the tool's own.
const std::string kMarkedTemporarySuffix = ".gorv-patcher.tmp";
// The comparison with an existing backup reads both files in blocks of this size.
constexpr std::size_t kCompareBlockSize = std::size_t{1} << 16;

// `name` without `suffix` at its end; empty when it has no such end, or is
// nothing but the suffix.
std::string stemOf(const std::string& name, const std::string& suffix) {
    const bool ends =
        name.size() > suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
    return ends ? name.substr(0, name.size() - suffix.size()) : "";
}

// Whether nothing stands at `path`; else *err says what does, or why that
// could not be told.
bool isFree(const std::string& path, std::string* err) {
    const Entry entry = entryAt(path, err);
    if (entry == Entry::RegularFile || entry == Entry::Other) {
        *err = "a file of that name is there already, and only the backup of " + kExecutableName + " is ever replaced";
    }
    return entry == Entry::Missing;
}

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

// Counts the bytes in which the two open files differ, from their current
// positions to their ends, leaving out the 4 at `skip` (position from the
// start of the read), block by block; the counting stops once it passes
// `limit`. *compared is how far both were read alike in length (less than
// their size where one changed size meanwhile).
// With `runs`, each byte that differs goes into them with `other`'s value,
// runs closer than 4 bytes joined (so that a value goes back in one piece).
bool countDifferences(std::FILE* one, std::FILE* other, std::int64_t skip, std::int64_t limit, std::int64_t* changed,
                      std::int64_t* compared, std::vector<ChangedRun>* runs, std::string* err) {
    std::vector<char> oneBlock(kCompareBlockSize);
    std::vector<char> otherBlock(kCompareBlockSize);
    *changed = 0;
    for (*compared = 0; *changed <= limit;) {
        std::size_t oneCount = 0;
        std::size_t otherCount = 0;
        if (!readBlock(one, &oneBlock, &oneCount, err) || !readBlock(other, &otherBlock, &otherCount, err)) {
            return false;
        }
        if (oneCount != otherCount || oneCount == 0) {
            return true; // the end, or one of them changed size meanwhile
        }
        if (std::memcmp(oneBlock.data(), otherBlock.data(), oneCount) != 0) {
            for (std::size_t i = 0; i < oneCount; ++i) {
                if (oneBlock[i] == otherBlock[i]) {
                    continue;
                }
                const std::int64_t at = *compared + static_cast<std::int64_t>(i);
                *changed += at < skip || at >= skip + 4 ? 1 : 0;
                if (runs == nullptr) {
                    continue;
                }
                const std::int64_t end =
                    runs->empty() ? -1 : runs->back().position + static_cast<std::int64_t>(runs->back().bytes.size());
                if (end >= *compared && at - end < 4) {
                    // The bytes between are alike in both: the run takes them along.
                    runs->back().bytes.append(otherBlock.data() + (end - *compared),
                                              static_cast<std::size_t>(at - end) + 1);
                } else {
                    runs->push_back(ChangedRun{at, std::string(1, otherBlock[i])});
                }
            }
        }
        *compared += static_cast<std::int64_t>(oneCount);
    }
    return true;
}

} // namespace

bool countChangesBeside(std::FILE* one, std::FILE* other, std::int64_t offset, std::int64_t limit, std::int64_t* count,
                        std::string* err) {
    *count = -1;
    std::int64_t oneSize = 0;
    std::int64_t otherSize = 0;
    std::int64_t changed = 0;
    std::int64_t compared = 0;
    if (!fileSize(one, &oneSize, err) || !fileSize(other, &otherSize, err)) {
        return false;
    }
    if (oneSize != otherSize) {
        return true;
    }
    if (!seekTo(one, 0, err) || !seekTo(other, 0, err) ||
        !countDifferences(one, other, offset, limit, &changed, &compared, nullptr, err)) {
        return false;
    }
    *count = compared == oneSize || changed > limit ? changed : -1;
    return true;
}

bool compareWithBackup(std::FILE* game, std::FILE* backup, BackupMatch* match, std::string* err,
                       std::vector<ChangedRun>* runs) {
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
    std::int64_t changed = 0;
    std::int64_t compared = 0;
    if (runs != nullptr) {
        runs->clear();
    }
    if (!countDifferences(game, backup, -4, kMaxChangedBytes, &changed, &compared, runs, err)) {
        return false;
    }
    if (compared == gameSize && changed <= kMaxChangedBytes) {
        *match = changed == 0 ? BackupMatch::Identical : BackupMatch::SameGame;
    }
    return true;
}

bool copyOver(const std::string& source, const std::string& target, File* openTarget, std::string* note,
              std::string* err) {
    const std::string temporaryPath = temporaryPathOf(target);
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

bool writeBackRuns(std::FILE* game, const std::vector<ChangedRun>& runs, std::int64_t offset,
                   std::int64_t* changedBeside, std::string* err) {
    *changedBeside = 0;
    for (const ChangedRun& run : runs) {
        // One write for each run: a patch's four bytes go back in one piece,
        // as they came.
        if (!seekTo(game, run.position, err) || !writeAll(game, run.bytes.data(), run.bytes.size(), err)) {
            return false;
        }
        for (std::size_t i = 0; i < run.bytes.size(); ++i) {
            const std::int64_t at = run.position + static_cast<std::int64_t>(i);
            *changedBeside += at < offset || at >= offset + 4 ? 1 : 0;
        }
    }
    return syncFile(game, err);
}

std::string temporaryPathOf(const std::string& target) {
    const std::string name = extractFileName(target, kPathSeparators);
    const bool ours = name == kExecutableName || name == kExecutableName + kBackupSuffix;
    return target + (ours ? kTemporarySuffix : kMarkedTemporarySuffix);
}

std::string gamePathOf(const std::string& backupPath) {
    const std::string game = stemOf(backupPath, kBackupSuffix);
    return game.empty() ? backupPath : game;
}

bool isToolFileName(const std::string& name) {
    if (gamePathOf(name) != name) {
        return true;
    }
    for (const std::string& suffix : {kTemporarySuffix, kMarkedTemporarySuffix}) {
        const std::string stem = stemOf(name, suffix);
        if (!stem.empty() && temporaryPathOf(stem) == name) {
            return true;
        }
    }
    return false;
}

bool checkGameFile(const std::string& gamePath, bool mayBeMissing, std::string* err) {
    std::string reason;
    const Entry entry = entryAt(gamePath, &reason);
    if (entry == Entry::Missing && mayBeMissing) {
        return true;
    }
    if (entry == Entry::Unknown) {
        *err = "could not read " + gamePath + ": " + reason;
        return false;
    }
    // A link that leads nowhere (the card that holds the game is out), or
    // to a folder, is no game: the open says why.
    File game;
    if (!isRegularFile(gamePath) && !openRegularFileForReading(gamePath, true, &game, &reason)) {
        *err = "could not open " + gamePath + ": " + reason;
        return false;
    }
    // Through links: a game that is, or leads to, a backup or a temporary
    // copy would be copied over its own original, or removed.
    const std::string real = finalPath(gamePath);
    if (isToolFileName(extractFileName(real, kPathSeparators))) {
        *err = gamePath + " leads to " + real + ", a file this tool made: only the game itself is patched or restored";
        return false;
    }
    return true;
}

void removeLeftovers(const std::string& gamePath) {
    std::string ignored;
    for (const std::string& target : {gamePath + kBackupSuffix, gamePath}) {
        // Looked at first: most runs find nothing to remove.
        const std::string temporaryPath = temporaryPathOf(target);
        if (entryAt(temporaryPath, &ignored) != Entry::Missing) {
            removeFile(temporaryPath, &ignored);
        }
    }
}

bool backupExecutable(const std::string& path, Backup* backup, std::string* err) {
    backup->path = path + kBackupSuffix;
    backup->note.clear();
    backup->kept = false;

    std::string reason;
    // A backup from an earlier run holds the game before its patch: copying
    // the game again now would put a patched game in its place.
    bool kept = false;
    std::string folderNote;
    // Another file's backup is the tool's only where its name was free:
    // whatever stands there is somebody else's.
    if ((extractFileName(path, kPathSeparators) == kExecutableName || isFree(backup->path, &reason)) &&
        holdsTheGame(path, backup->path, &kept, &reason) &&
        (kept || copyOver(path, backup->path, nullptr, &folderNote, &reason))) {
        if (!folderNote.empty()) {
            backup->note = "could not sync the folder of " + backup->path + ": " + folderNote;
        }
        backup->kept = kept;
        return true;
    }
    *err = "could not copy " + path + " to " + backup->path + ": " + reason;
    return false;
}

bool prepareToPatch(const std::string& gamePath, File* lock, Backup* backup, std::string* err) {
    if (lockExecutable(gamePath, lock, err)) {
        removeLeftovers(gamePath);
        if (backupExecutable(gamePath, backup, err)) {
            return true;
        }
    }
    lock->reset();
    return false;
}
