#include "launchers/keep_record.h"

#include <nlohmann/json.hpp>

#include "files/text_file.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "search/store_records.h"

std::string keepRecordPath() {
    const std::string state = userStateFolder();
    return state.empty() ? "" : state + kPathSeparator + "gorv-patcher" + kPathSeparator + "keep-patched.json";
}

std::vector<KeptChange> readKeepRecord(const std::string& path) {
    const nlohmann::json record = readJsonRecord(std::filesystem::u8path(path));
    std::vector<KeptChange> changes;
    if (!record.is_object() || !record.contains("changes") || !record["changes"].is_array()) {
        return changes;
    }
    for (const nlohmann::json& entry : record["changes"]) {
        KeptChange change;
        change.file = textMember(entry, "file");
        change.app = textMember(entry, "app");
        change.wrote = textMember(entry, "wrote");
        change.token = textMember(entry, "token");
        const auto present = entry.is_object() ? entry.find("present") : entry.end();
        change.present = present != entry.end() && present->is_boolean() && present->get<bool>();
        const auto made = entry.is_object() ? entry.find("made") : entry.end();
        change.made = made != entry.end() && made->is_number_integer() ? made->get<int>() : 0;
        if (!change.file.empty() && !change.app.empty()) {
            changes.push_back(change);
        }
    }
    return changes;
}

bool writeKeepRecord(const std::string& path, const std::vector<KeptChange>& changes, std::string* err) {
    nlohmann::json list = nlohmann::json::array();
    for (const KeptChange& change : changes) {
        list.push_back({{"file", change.file},
                        {"app", change.app},
                        {"wrote", change.wrote},
                        {"present", change.present},
                        {"token", change.token},
                        {"made", change.made}});
    }
    const std::string text =
        nlohmann::json{{"changes", list}}.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::string note;
    return makeFolders(folderOf(path), err) && replaceWithSyncedText(path, text, &note, err);
}

KeptChange* findKeptChange(std::vector<KeptChange>* changes, const std::string& file, const std::string& app) {
    for (KeptChange& change : *changes) {
        if (change.file == file && change.app == app) {
            return &change;
        }
    }
    return nullptr;
}
