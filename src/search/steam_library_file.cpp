#include "search/steam_library_file.h"

#include <algorithm>

#include "platform/file_system.h"
#include "search/folders.h"
#include "search/key_values.h"

namespace {

// Real files are a few kilobytes; anything larger is not Steam's.
constexpr std::size_t kMaxLibraryFileSize = std::size_t{1} << 20;

bool isNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

std::vector<std::string> libraryFoldersIn(const std::string& vdf) {
    std::vector<KeyValuesNode> nodes;
    if (!parseKeyValues(vdf, &nodes)) {
        return {};
    }
    std::vector<std::string> folders;
    for (const KeyValuesNode& node : nodes) {
        // A numbered key at the top of the file's one block, or "path" anywhere.
        const bool listed =
            lowerCase(node.key) == "path" ||
            (node.parent >= 0 && nodes[static_cast<std::size_t>(node.parent)].parent < 0 && isNumber(node.key));
        if (!node.block && listed && !node.value.empty() && node.value.find('\0') == std::string::npos) {
            folders.push_back(node.value);
        }
    }
    return folders;
}

std::string readLibraryFile(const std::filesystem::path& path) {
    std::string text;
    bool whole = false;
    std::string ignored;
    return readSmallFile(path.u8string(), kMaxLibraryFileSize, &text, &whole, &ignored) && whole ? text : "";
}
