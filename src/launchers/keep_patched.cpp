#include "launchers/keep_patched.h"

#include <algorithm>

#include "files/executable_locator.h"
#include "launchers/heroic_wrapper.h"
#include "launchers/keep_record.h"
#include "launchers/launch_line.h"
#include "launchers/program_copy.h"
#include "launchers/settings_file.h"
#include "launchers/steam_launch_options.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "search/folders.h"

namespace {

const char* const kToolName = "gorv-patcher";
// How long a run waits for another one to finish.
constexpr int kLockSeconds = 5;

std::string programFolderFor(const LaunchSetting& setting) {
    return setting.sandbox.empty() ? userProgramFolder(kToolName) : setting.sandbox + kPathSeparator + kToolName;
}

// The program besides the tool's own names that counts as the tool in a
// line: the player's own, given now or when the line was set.
std::string alsoFor(const KeepRequest& request, const KeptChange* earlier) {
    return !request.program.empty() ? request.program : earlier != nullptr ? earlier->program : "";
}

// A copy of this program to place (on Windows both builds), and where.
struct Placement {
    std::string source;
    std::string target;
};

std::vector<Placement> placementsFor(const std::vector<LaunchSetting>& settings) {
    const std::string self = programPath();
    const std::vector<std::string> names = launchProgramNames(kToolName);
    std::vector<Placement> placements;
    for (const LaunchSetting& setting : settings) {
        if (setting.file.empty()) {
            continue; // nothing is written for it
        }
        for (const std::string& name : names) {
            const bool isSelf = names.size() == 1 || lowerCase(extractFileName(self, kPathSeparators)) == name;
            const Placement placement{isSelf || self.empty() ? self : pathBeside(self, name),
                                      programFolderFor(setting) + kPathSeparator + name};
            if (std::none_of(placements.begin(), placements.end(),
                             [&placement](const Placement& other) { return other.target == placement.target; })) {
                placements.push_back(placement);
            }
        }
    }
    return placements;
}

// Places the copies that the lines name. Every place is looked at first,
// so that a file in the way leaves everything as it was; each copy is
// noted in the record before it is made, so that the next run knows it
// for the tool's.
bool placePrograms(const std::vector<Placement>& placements, const std::string& recordPath, KeepRecord* record,
                   std::string* err) {
    std::vector<std::pair<Placement, PlacedProgram>> copies;
    for (const Placement& placement : placements) {
        ProgramPlace place = ProgramPlace::InTheWay;
        PlacedProgram placed;
        std::string why = "this program's own file cannot be found";
        if (placement.source.empty() ||
            !checkProgramPlace(placement.source, placement.target, *record, &place, &placed, &why)) {
            *err = "could not copy " + placement.source + " to " + placement.target + ": " + why;
            return false;
        }
        if (place == ProgramPlace::InTheWay) {
            *err = placement.target +
                   " is not a copy that gorv-patcher placed, so it stays as it is and nothing was written: remove "
                   "it, or name a program of your own: --keep-patched WIDTHxHEIGHT --program PATH";
            return false;
        }
        if (place == ProgramPlace::Free) {
            copies.emplace_back(placement, placed);
        }
    }
    if (copies.empty()) {
        return true;
    }
    for (const auto& copy : copies) {
        record->programs.push_back(copy.second);
    }
    if (!writeKeepRecord(recordPath, *record, err)) {
        *err = "nothing was written, as the program's copy could not be noted in " + recordPath + ": " + *err;
        return false;
    }
    for (const auto& copy : copies) {
        if (!copyProgram(copy.first.source, copy.first.target, err)) {
            *err = "could not copy " + copy.first.source + " to " + copy.first.target + ": " + *err;
            return false;
        }
        // What the file held before is no longer the tool's to replace.
        auto& programs = record->programs;
        programs.erase(std::remove_if(programs.begin(), programs.end(),
                                      [&copy](const PlacedProgram& program) {
                                          return program.path == copy.second.path && program.hash != copy.second.hash;
                                      }),
                       programs.end());
    }
    std::string ignored;
    writeKeepRecord(recordPath, *record, &ignored);
    return true;
}

// A change to one launcher's settings file.
struct Edit {
    std::string text;  // the file's new content
    std::string shown; // the launch line (Steam) or wrapper (Heroic) as it is now
    KeptChange change; // the record's entry for the file after the change
    bool noted = true; // the record keeps that entry
};

bool setIn(const LaunchSetting& setting, const std::string& text, const KeepRequest& request, const KeptChange* earlier,
           Edit* edit, std::string* err) {
    edit->text = text;
    edit->change = earlier != nullptr ? *earlier : KeptChange{};
    edit->change.file = finalPath(setting.file);
    edit->change.app = setting.app;
    edit->change.program = request.program;
    const std::string also = alsoFor(request, earlier);
    const std::string program = lineProgramFor(setting, request);
    std::string current;
    bool present = false;
    if (setting.launcher == Launcher::Heroic) {
        bool listMade = false;
        if (!readHeroicWrapper(text, setting.app, also, &current, &present, err) ||
            !setHeroicWrapper(&edit->text, setting.app, program, launchArguments(request.size), also, &listMade, err)) {
            return false;
        }
        if (!present) {
            edit->change.made = listMade ? 1 : 0;
        }
        edit->change.wrote = launchArguments(request.size);
        edit->shown = program + " " + edit->change.wrote;
        return true;
    }
    if (!readLaunchOptions(text, setting.app, &current, &present, err)) {
        return false;
    }
    LaunchPartPlace place;
    const bool ours = present && findLaunchPart(current, also, &place);
    const std::string options = withLaunchPart(current, launchLineWord(program), request.size, also);
    EarlierOptions before;
    if (!(present && options == current) && !setLaunchOptions(&edit->text, setting.app, options, &before, err)) {
        return false;
    }
    if (!ours) {
        edit->change.present = before.present;
        edit->change.token = before.token;
        edit->change.made = before.blocks;
    }
    // A part that the tool did not write (typed by hand) has no earlier
    // options to put back: a take-back cuts it and keeps the rest.
    edit->noted = earlier != nullptr || !ours;
    edit->change.wrote = options;
    edit->shown = options;
    return true;
}

bool takeBackIn(const LaunchSetting& setting, const std::string& text, const KeepRequest& request,
                const KeptChange* earlier, Edit* edit, std::string* err) {
    edit->text = text;
    const std::string also = alsoFor(request, earlier);
    std::string current;
    bool present = false;
    if (setting.launcher == Launcher::Heroic) {
        if (!readHeroicWrapper(text, setting.app, also, &current, &present, err)) {
            return false;
        }
        return !present ||
               removeHeroicWrapper(&edit->text, setting.app, also, earlier != nullptr && earlier->made == 1, err);
    }
    LaunchPartPlace place;
    if (!readLaunchOptions(text, setting.app, &current, &present, err)) {
        return false;
    }
    if (!present || !findLaunchPart(current, also, &place)) {
        return true;
    }
    // What the tool found there goes back where the options are still what
    // it wrote; else only its part goes, and the player's changes stay.
    if (earlier != nullptr && earlier->wrote == current) {
        const EarlierOptions before{earlier->present, earlier->token, earlier->made};
        if (!putBackLaunchOptions(&edit->text, setting.app, before, err)) {
            return false;
        }
    } else {
        EarlierOptions ignored;
        if (!setLaunchOptions(&edit->text, setting.app, withoutLaunchPart(current, also), &ignored, err)) {
            return false;
        }
    }
    readLaunchOptions(edit->text, setting.app, &edit->shown, &present, err);
    return true;
}

// Sets or takes back the line in one launcher's settings file.
KeepOutcome keepIn(const LaunchSetting& setting, const KeepRequest& request, const std::string& recordPath,
                   KeepRecord* record) {
    KeepOutcome outcome;
    outcome.setting = setting;
    const bool off = request.size == kKeepOff;
    if (setting.file.empty()) {
        outcome.result = KeepResult::NoAccount;
        return outcome;
    }
    if (isLauncherRunning(setting.launcher)) {
        outcome.result = KeepResult::Running;
        return outcome;
    }
    std::string text;
    Edit edit;
    const KeptChange* earlier = findKeptChange(*record, finalPath(setting.file), setting.app);
    if (!readSettingsFile(setting.file, &text, &outcome.err) ||
        !(off ? takeBackIn(setting, text, request, earlier, &edit, &outcome.err)
              : setIn(setting, text, request, earlier, &edit, &outcome.err))) {
        const bool missing = setting.launcher == Launcher::Heroic && !isRegularFile(setting.file);
        outcome.result = missing ? KeepResult::NoSettingsYet : KeepResult::Refused;
        return outcome;
    }
    outcome.shown = edit.shown;
    if (edit.text == text) {
        outcome.result = off ? KeepResult::NothingOurs : KeepResult::AlreadySet;
        return outcome;
    }
    // A change is noted before it is written, so that whatever is written
    // can be taken back; a take-back is forgotten once it is done.
    KeepRecord after = *record;
    after.changes.clear();
    for (const KeptChange& change : record->changes) {
        if (&change != earlier) {
            after.changes.push_back(change);
        }
    }
    if (!off && edit.noted) {
        after.changes.push_back(edit.change);
    }
    if (!off && !writeKeepRecord(recordPath, after, &outcome.err)) {
        outcome.err = "the change could not be noted in " + recordPath + ": " + outcome.err;
        outcome.result = KeepResult::NotNoted;
        return outcome;
    }
    // The launcher writes its settings from memory when it exits: one that
    // started since the first look would undo the change.
    bool started = false;
    const auto mayMove = [&setting, &started](std::string* why) {
        started = isLauncherRunning(setting.launcher);
        *why = started ? std::string(launcherName(setting.launcher)) + " started" : "";
        return !started;
    };
    if (!writeSettingsFile(setting.file, edit.text, &outcome.copy, &outcome.note, &outcome.err, mayMove)) {
        outcome.result = started ? KeepResult::StartedMeanwhile : KeepResult::NotWritten;
        return outcome;
    }
    // A record that keeps an entry of a change taken back does no harm: the
    // value is no longer what it says the tool wrote.
    std::string ignored;
    if (off) {
        writeKeepRecord(recordPath, after, &ignored);
    }
    *record = after;
    outcome.result = off ? KeepResult::TakenOut : KeepResult::Set;
    return outcome;
}

} // namespace

std::string lineProgramFor(const LaunchSetting& setting, const KeepRequest& request) {
    return !request.program.empty()
               ? request.program
               : programFolderFor(setting) + kPathSeparator + launchProgramNames(kToolName).front();
}

bool steamLineOf(const std::vector<LaunchSetting>& settings, const KeepRequest& request, std::string* line) {
    for (const LaunchSetting& setting : settings) {
        std::string text;
        std::string options;
        bool present = false;
        std::string err;
        if (setting.launcher == Launcher::Steam && !setting.file.empty() &&
            readSettingsFile(setting.file, &text, &err) &&
            readLaunchOptions(text, setting.app, &options, &present, &err)) {
            *line = withLaunchPart(options, launchLineWord(lineProgramFor(setting, request)), request.size,
                                   alsoFor(request, nullptr));
            return true;
        }
    }
    return false;
}

bool keepPatchedIn(const std::vector<LaunchSetting>& settings, const KeepRequest& request,
                   std::vector<KeepOutcome>* outcomes, std::string* err) {
    const std::string recordPath = keepRecordPath();
    File lock;
    if (!recordPath.empty() && !lockKeepRecord(recordPath, kLockSeconds, &lock, err)) {
        return false;
    }
    KeepRecord record = readKeepRecord(recordPath);
    if (request.size != kKeepOff && request.program.empty() &&
        !placePrograms(placementsFor(settings), recordPath, &record, err)) {
        return false;
    }
    outcomes->clear();
    for (const LaunchSetting& setting : settings) {
        outcomes->push_back(keepIn(setting, request, recordPath, &record));
    }
    return true;
}
