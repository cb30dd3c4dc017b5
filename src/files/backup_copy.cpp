#include <cstdio>
#include <vector>

#include "files/game_files.h"
#include "platform/platform.h"

namespace {

// Large stdio buffers let the 512-byte copy loop run near the disk's speed
// while keeping memory use small and independent of the file's size.
constexpr std::size_t kStreamBufferSize = std::size_t{1} << 18;

const char* const kTemporarySuffix = ".tmp";

// Copies every byte of source into target, then forces target to the disk.
// Every read, write, flush and close is checked; target is closed either way.
bool copyAndSync(std::FILE* source, std::FILE* target) {
    std::vector<char> sourceBuffer(kStreamBufferSize);
    std::vector<char> targetBuffer(kStreamBufferSize);
    bool ok = std::setvbuf(source, sourceBuffer.data(), _IOFBF, sourceBuffer.size()) == 0 &&
              std::setvbuf(target, targetBuffer.data(), _IOFBF, targetBuffer.size()) == 0;

    char block[kCopyBlockSize];
    while (ok) {
        const std::size_t count = std::fread(block, 1, sizeof block, source);
        if (count == 0) {
            ok = std::ferror(source) == 0;
            break;
        }
        ok = std::fwrite(block, 1, count, target) == count;
    }
    ok = ok && std::fflush(target) == 0 && syncToDisk(target);
    // Both streams are closed here, while their buffers still exist.
    ok = std::fclose(target) == 0 && ok;
    std::fclose(source);
    return ok;
}

} // namespace

Backup backupExecutable(const std::string& path) {
    const Backup failed{path + kBackupSuffix, false};
    const std::string temporaryPath = failed.path + kTemporarySuffix;

    std::FILE* source = std::fopen(path.c_str(), "rb");
    if (source == nullptr) {
        return failed;
    }
    std::FILE* target = std::fopen(temporaryPath.c_str(), "wb");
    if (target == nullptr) {
        std::fclose(source);
        return failed;
    }
    if (!copyAndSync(source, target) || !replaceFile(temporaryPath, failed.path)) {
        std::remove(temporaryPath.c_str());
        return failed;
    }
    return Backup{failed.path, true};
}
