#include "platform/file_system.h"

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
    // One byte more than the limit shows whether there was more.
    bytes->assign(limit + 1, '\0');
    std::size_t size = 0;
    std::size_t count = 0;
    do {
        if (!readSome(file.get(), &(*bytes)[size], bytes->size() - size, &count, err)) {
            return false;
        }
        size += count;
    } while (count > 0 && size < bytes->size());
    *whole = size <= limit;
    bytes->resize(*whole ? size : limit);
    return true;
}
