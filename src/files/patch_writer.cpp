#include "files/patch_writer.h"

#include "files/open_refusal.h"
#include "platform/file_system.h"

bool writePatch(const std::string& path, std::int32_t offset, const PatchValue& value, std::string* err) {
    const auto size = static_cast<std::int64_t>(value.size());
    std::string reason;
    File file;
    std::int64_t fileSizeInBytes = 0;
    Refusal refusal = Refusal::Other;
    if (!openForUpdate(path, &file, &refusal, &reason)) {
        *err = openRefusalText(path, "write", refusal, reason);
        return false;
    }
    if (!fileSize(file.get(), &fileSizeInBytes, &reason)) {
        *err = "could not write " + path + ": " + reason;
        return false;
    }
    if (offset < 0 || offset + size > fileSizeInBytes) {
        *err = "offset " + std::to_string(offset) + (offset < 0 ? " is before the start of " : " is past the end of ") +
               path;
        return false;
    }
    if (!seekTo(file.get(), offset, &reason) ||
        !writeAll(file.get(), reinterpret_cast<const char*>(value.data()), value.size(), &reason) ||
        // On the disk before the run says so: a power cut after "Enjoy the
        // game!" must not bring the old ratio back.
        !syncFile(file.get(), &reason) || !closeFile(&file, &reason)) {
        *err = "could not write " + path + ": " + reason;
        return false;
    }
    return true;
}
