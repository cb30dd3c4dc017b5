#include "files/patch_writer.h"

#include "files/open_refusal.h"
#include "platform/file_system.h"

namespace {

// Why four bytes at `offset` are not inside a file of `size` bytes; empty
// when they are.
std::string outsideReason(const std::string& path, std::int32_t offset, std::int64_t size) {
    if (offset < 0) {
        return "offset " + std::to_string(offset) + " is before the start of " + path;
    }
    if (offset + std::int64_t{sizeof(PatchValue)} > size) {
        return "offset " + std::to_string(offset) + " is past the end of " + path;
    }
    return "";
}

} // namespace

bool readPatchBytes(const std::string& path, std::int32_t offset, PatchValue* value, std::string* err) {
    std::string reason;
    File file;
    std::int64_t size = 0;
    std::size_t count = 0;
    if (!openForReading(path, &file, &reason) || !fileSize(file.get(), &size, &reason)) {
        *err = "could not read " + path + ": " + reason;
        return false;
    }
    *err = outsideReason(path, offset, size);
    if (!err->empty()) {
        return false;
    }
    if (!readAt(file.get(), offset, reinterpret_cast<char*>(value->data()), value->size(), &count, &reason)) {
        *err = "could not read " + path + ": " + reason;
        return false;
    }
    // A file that shrank since its size was taken.
    *err = outsideReason(path, offset, offset + static_cast<std::int64_t>(count));
    return err->empty();
}

bool writePatch(const std::string& path, std::int32_t offset, const PatchValue& value, std::string* err) {
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
    *err = outsideReason(path, offset, fileSizeInBytes);
    if (!err->empty()) {
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
