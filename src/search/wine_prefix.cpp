#include "search/wine_prefix.h"

#include "search/folders.h"

namespace fs = std::filesystem;

namespace {

// How deep below drive_c a game's own folder may be.
constexpr int kMaxDepth = 3;

bool isSystemFolder(const fs::path& folder) {
    const std::string name = lowerCase(folder.filename().u8string());
    return name == "windows" || name == "users" || name == "programdata";
}

bool isFileHere(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(fs::symlink_status(path, error));
}

// `folder` is `depth` folders below drive_c.
void walk(const fs::path& folder, int depth, const std::string& fileName, std::vector<fs::path>* found) {
    if (depth > 0 && isFileHere(folder / fileName)) {
        found->push_back(folder / fileName);
    }
    if (depth == kMaxDepth) {
        return;
    }
    for (const fs::path& inner : subfolders(folder, false)) {
        if (depth > 0 || !isSystemFolder(inner)) {
            walk(inner, depth + 1, fileName, found);
        }
    }
}

} // namespace

std::vector<fs::path> filesInWineDrive(const fs::path& driveC, const std::string& fileName) {
    std::vector<fs::path> found;
    walk(driveC, 0, fileName, &found);
    return found;
}
