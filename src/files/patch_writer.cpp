#include <fstream>

#include "files/game_files.h"

PatchOutcome writePatch(const std::string& path, std::int32_t offset, const PatchValue& value) {
    if (offset < 0) {
        return PatchOutcome::WriteFailed;
    }
    // In and out together: the file is neither created nor truncated.
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!file.is_open()) {
        return PatchOutcome::WriteFailed;
    }
    const std::streamoff size = file.seekg(0, std::ios::end).tellg();
    if (size < 0) {
        return PatchOutcome::WriteFailed;
    }
    const auto position = static_cast<std::streamoff>(offset);
    if (position + static_cast<std::streamoff>(value.size()) > size) {
        return PatchOutcome::PastEnd;
    }
    file.seekp(position);
    file.write(reinterpret_cast<const char*>(value.data()), static_cast<std::streamsize>(value.size()));
    file.close(); // flushes; a failed flush or close sets failbit
    return file.fail() ? PatchOutcome::WriteFailed : PatchOutcome::Written;
}
