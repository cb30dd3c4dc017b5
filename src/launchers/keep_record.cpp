#include "launchers/keep_record.h"

#include <chrono>
#include <thread>

#include <nlohmann/json.hpp>

#include "files/text_file.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "search/store_records.h"

namespace {

bool flagMember(const nlohmann::json& entry, const char* name) {
    const auto member = entry.is_object() ? entry.find(name) : entry.end();
    return member != entry.end() && member->is_boolean() && member->get<bool>();
}

std::int64_t numberMember(const nlohmann::json& entry, const char* name) {
    const auto member = entry.is_object() ? entry.find(name) : entry.end();
    return member != entry.end() && member->is_number_integer() ? member->get<std::int64_t>() : 0;
}

const nlohmann::json& listMember(const nlohmann::json& record, const char* name) {
    static const nlohmann::json none = nlohmann::json::array();
    return record.is_object() && record.contains(name) && record[name].is_array() ? record[name] : none;
}

} // namespace

std::string keepRecordPath() {
    const std::string state = userStateFolder();
    return state.empty() ? "" : state + kPathSeparator + "gorv-patcher" + kPathSeparator + "keep-patched.json";
}

KeepRecord readKeepRecord(const std::string& path) {
    const nlohmann::json json = readJsonRecord(std::filesystem::u8path(path));
    KeepRecord record;
    for (const nlohmann::json& entry : listMember(json, "changes")) {
        KeptChange change;
        change.file = textMember(entry, "file");
        change.app = textMember(entry, "app");
        change.wrote = textMember(entry, "wrote");
        change.token = textMember(entry, "token");
        change.present = flagMember(entry, "present");
        change.made = static_cast<int>(numberMember(entry, "made"));
        change.program = textMember(entry, "program");
        if (!change.file.empty() && !change.app.empty()) {
            record.changes.push_back(change);
        }
    }
    for (const nlohmann::json& entry : listMember(json, "programs")) {
        PlacedProgram program{textMember(entry, "path"), numberMember(entry, "size"), textMember(entry, "hash")};
        if (!program.path.empty() && !program.hash.empty()) {
            record.programs.push_back(program);
        }
    }
    return record;
}

bool writeKeepRecord(const std::string& path, const KeepRecord& record, std::string* err) {
    nlohmann::json changes = nlohmann::json::array();
    for (const KeptChange& change : record.changes) {
        changes.push_back({{"file", change.file},
                           {"app", change.app},
                           {"wrote", change.wrote},
                           {"present", change.present},
                           {"token", change.token},
                           {"made", change.made},
                           {"program", change.program}});
    }
    nlohmann::json programs = nlohmann::json::array();
    for (const PlacedProgram& program : record.programs) {
        programs.push_back({{"path", program.path}, {"size", program.size}, {"hash", program.hash}});
    }
    const std::string text = nlohmann::json{{"changes", changes}, {"programs", programs}}.dump(
                                 2, ' ', false, nlohmann::json::error_handler_t::replace) +
                             "\n";
    std::string note;
    return makeFolders(folderOf(path), err) && replaceWithSyncedText(path, text, &note, err);
}

const KeptChange* findKeptChange(const KeepRecord& record, const std::string& file, const std::string& app) {
    for (const KeptChange& change : record.changes) {
        if (change.file == file && change.app == app) {
            return &change;
        }
    }
    return nullptr;
}

bool lockKeepRecord(const std::string& recordPath, int seconds, File* lock, std::string* err) {
    const std::string path = folderOf(recordPath) + kPathSeparator + "keep-patched.lock";
    std::string reason;
    std::string ignored;
    File made;
    Refusal refusal = Refusal::Other;
    if (!makeFolders(folderOf(path), err)) {
        return false;
    }
    // Two runs may make it at once: the one that finds it made uses it.
    if (entryAt(path, &ignored) == Entry::Missing && !createNewFile(path, nullptr, &made, &reason) &&
        entryAt(path, &ignored) == Entry::Missing) {
        *err = "could not make " + path + ": " + reason;
        return false;
    }
    made.reset();
    if (!openForLocking(path, lock, &refusal, &reason)) {
        *err = "could not open " + path + ": " + reason;
        return false;
    }
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        LockState state = LockState::Held;
        if (!tryLockFile(lock->get(), &state, err)) {
            *err = "could not lock " + path + ": " + *err;
            return false;
        }
        if (state != LockState::Held) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= until) {
            *err = "another gorv-patcher --keep-patched is running (it holds " + path +
                   "); run this again when it is done";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}
