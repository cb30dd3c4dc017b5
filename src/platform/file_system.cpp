#include "platform/file_system.h"

#include <algorithm>

// What every system does alike, on top of its own calls.

bool checkPath(const std::string& path, std::string* err) {
    if (path.find('\0') == std::string::npos) {
        return true;
    }
    *err = "The path holds a NUL character";
    return false;
}

bool readSmallFile(const std::string& path, std::size_t limit, std::string* bytes, bool* whole, std::string* err) {
    File file;
    if (!openRegularFileForReading(path, true, &file, err)) {
        return false;
    }
    // Read in blocks, so that the memory follows what the file holds; one
    // byte more than the limit shows whether there was more.
    bytes->clear();
    char block[16384];
    std::size_t count = 0;
    do {
        const std::size_t wanted = std::min(sizeof block, limit + 1 - bytes->size());
        if (!readSome(file.get(), block, wanted, &count, err)) {
            return false;
        }
        bytes->append(block, count);
    } while (count > 0 && bytes->size() <= limit);
    *whole = bytes->size() <= limit;
    bytes->resize(std::min(bytes->size(), limit));
    return true;
}

bool makeFolders(const std::string& path, std::string* err) {
    // Each folder on the way, from the first below the root.
    for (std::size_t at = path.find_first_of(kPathSeparators, 1); at != std::string::npos;
         at = path.find_first_of(kPathSeparators, at + 1)) {
        if (path[at - 1] != ':' && !makeFolder(path.substr(0, at), err)) {
            return false;
        }
    }
    return makeFolder(path, err);
}

std::string pathBeside(const std::string& path, const std::string& name) {
    const std::size_t separator = path.find_last_of(kPathSeparators);
    return separator == std::string::npos ? name : path.substr(0, separator + 1) + name;
}
