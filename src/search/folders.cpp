#include "search/folders.h"

#include <algorithm>
#include <cctype>

#include "platform/file_system.h"

namespace fs = std::filesystem;

std::vector<fs::path> subfolders(const fs::path& folder, bool followLinks) {
    std::vector<fs::path> found;
    std::error_code error;
    std::string reason;
    if (!checkPath(folder.u8string(), &reason)) {
        return found;
    }
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        // The entry's own type comes with the listing; a link's target
        // takes a look of its own.
        const bool folderHere = followLinks ? it->is_directory(ignored) : fs::is_directory(it->symlink_status(ignored));
        if (folderHere) {
            found.push_back(it->path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

fs::path identityOf(const fs::path& path) {
    std::error_code error;
    const fs::path identity = fs::canonical(path, error);
    return error ? path.lexically_normal() : identity;
}

std::string lowerCase(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return name;
}

fs::path childInAnyCase(const fs::path& parent, const std::string& lowerName) {
    std::error_code error;
    if (fs::is_directory(parent / lowerName, error)) {
        return parent / lowerName;
    }
    for (const fs::path& folder : subfolders(parent, true)) {
        if (lowerCase(folder.filename().u8string()) == lowerName) {
            return folder;
        }
    }
    return {};
}
