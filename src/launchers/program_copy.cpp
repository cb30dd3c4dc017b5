#include "launchers/program_copy.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

#include "files/backup_copy.h"
#include "platform/file_system.h"

bool fileFingerprint(const std::string& path, std::int64_t* size, std::string* hash, std::string* err) {
    File file;
    if (!openRegularFileForReading(path, false, &file, err)) {
        return false;
    }
    std::uint64_t value = 14695981039346656037ULL;
    *size = 0;
    std::vector<char> buffer(std::size_t{1} << 16);
    for (std::size_t count = 1; count > 0;) {
        if (!readSome(file.get(), buffer.data(), buffer.size(), &count, err)) {
            return false;
        }
        for (std::size_t i = 0; i < count; ++i) {
            value = (value ^ static_cast<unsigned char>(buffer[i])) * 1099511628211ULL;
        }
        *size += static_cast<std::int64_t>(count);
    }
    char text[17] = {};
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    *hash = text;
    return true;
}

bool checkProgramPlace(const std::string& source, const std::string& target, const KeepRecord& record,
                       ProgramPlace* place, PlacedProgram* placed, std::string* err) {
    placed->path = target;
    if (!fileFingerprint(source, &placed->size, &placed->hash, err)) {
        return false;
    }
    std::string reason;
    const Entry entry = entryAt(target, &reason);
    if (entry == Entry::Missing) {
        *place = ProgramPlace::Free;
        return true;
    }
    if (entry != Entry::RegularFile) {
        *place = ProgramPlace::InTheWay;
        return entry != Entry::Unknown || (*err = reason, false);
    }
    PlacedProgram there{target, 0, ""};
    if (!fileFingerprint(target, &there.size, &there.hash, err)) {
        return false;
    }
    *place = ProgramPlace::InTheWay;
    if (there.size == placed->size && there.hash == placed->hash) {
        *place = ProgramPlace::Kept;
    }
    for (const PlacedProgram& program : record.programs) {
        if (*place == ProgramPlace::InTheWay && program.path == target && program.size == there.size &&
            program.hash == there.hash) {
            *place = ProgramPlace::Free;
        }
    }
    return true;
}

bool copyProgram(const std::string& source, const std::string& target, std::string* err) {
    std::string note;
    return makeFolders(folderOf(target), err) && copyOver(source, target, nullptr, &note, err);
}
