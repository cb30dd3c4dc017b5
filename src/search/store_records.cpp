#include "search/store_records.h"

#include "platform/file_system.h"
#include "platform/registry.h"

namespace {

// A launcher's record of hundreds of games is far smaller.
constexpr std::size_t kMaxRecordSize = std::size_t{1} << 20;
// Far more games than one store installs.
constexpr std::size_t kMaxRegistryGames = 4096;

} // namespace

nlohmann::json readJsonRecord(const std::filesystem::path& path) {
    std::string text;
    bool whole = false;
    std::string ignored;
    if (!readSmallFile(path.u8string(), kMaxRecordSize, &text, &whole, &ignored) || !whole) {
        return nlohmann::json::value_t::discarded;
    }
    return nlohmann::json::parse(text, nullptr, false);
}

std::string textMember(const nlohmann::json& object, const char* name) {
    if (!object.is_object()) {
        return "";
    }
    const auto member = object.find(name);
    return member != object.end() && member->is_string() ? member->get<std::string>() : "";
}

std::filesystem::path recordedFolder(const std::string& folder) {
    std::string ignored;
    const std::filesystem::path path = std::filesystem::u8path(folder);
    return !folder.empty() && checkPath(folder, &ignored) && path.is_absolute() ? path : std::filesystem::path{};
}

void addRecordedFolder(const std::string& folder, std::vector<std::filesystem::path>* folders) {
    std::filesystem::path path = recordedFolder(folder);
    if (!path.empty() && folders->size() < kMaxRecordedFolders) {
        folders->push_back(std::move(path));
    }
}

std::vector<std::filesystem::path> foldersInRegistry(const std::string& key, const std::string& name) {
    std::vector<std::filesystem::path> folders;
    for (const std::string& game : registrySubkeys(RegistryRoot::LocalMachine, key, kMaxRegistryGames)) {
        std::string text;
        if (readRegistryText(RegistryRoot::LocalMachine, key + "\\" + game, name, &text)) {
            addRecordedFolder(text, &folders);
        }
    }
    return folders;
}
