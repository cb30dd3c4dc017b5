#include "run/keep_patched_run.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/player_text.h"
#include "launchers/heroic_wrapper.h"
#include "launchers/keep_record.h"
#include "launchers/launch_line.h"
#include "launchers/launch_settings.h"
#include "launchers/program_copy.h"
#include "launchers/settings_file.h"
#include "launchers/steam_launch_options.h"
#include "platform/desktop_start.h"
#include "platform/file_dialog.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "run/patch_run.h"
#include "run/unattended_run.h"
#include "search/folders.h"

namespace {

const char* const kSelf = "gorv-patcher: ";
const char* const kToolName = "gorv-patcher";
const char* const kCommand = "%command%";

// Launchers keep their settings under the home folder on Linux; on
// Windows the registry says where.
std::string homeFolder() {
    return haveFileDialog() ? "" : environmentVariable("HOME");
}

// "Steam (account 12345)", "Heroic (Flatpak)".
std::string placeName(const LaunchSetting& setting) {
    std::string name = launcherName(setting.launcher);
    if (!setting.account.empty()) {
        name += " (account " + printable(setting.account) + ")";
    } else if (!setting.sandbox.empty()) {
        name += " (Flatpak)";
    }
    return name;
}

// The game: `given`, else gorv.exe in the working folder, else the one the
// search finds; where it finds several, the player picks one when `ask`.
bool chooseGame(const std::string& given, bool ask, std::string* game, std::string* err) {
    if (!given.empty()) {
        if (!isRegularFile(given) || !isGamePath(given)) {
            *err = printable(given, kMaxQuotedAnswer) + " is not " + kExecutableName;
            return false;
        }
        *game = given;
        return true;
    }
    if (isRegularFile(kExecutableName)) {
        *game = kExecutableName;
        return true;
    }
    const std::vector<std::string> found = findRecordedGames();
    if (found.size() == 1) {
        *game = found.front();
        return true;
    }
    if (found.empty()) {
        *err = "no " + kExecutableName + " in this folder, and none where game stores install games";
        return false;
    }
    // The dialogue's own question: the copies found, by number, or a path.
    if (ask) {
        *game = askForExecutable();
        if (*game == kFailedPath || !isGamePath(*game)) {
            *err = *game == kFailedPath ? "no game was chosen" : printable(*game) + " is not " + kExecutableName;
            return false;
        }
        return true;
    }
    *err = kExecutableName + " is in more than one place:";
    for (const std::string& path : found) {
        *err += "\n  " + printable(path);
    }
    *err += "\nName the game: gorv-patcher --keep-patched WIDTHxHEIGHT PATH/" + kExecutableName;
    return false;
}

// Copies this program (on Windows both builds) into `folder`.
bool placePrograms(const std::string& folder, std::string* err) {
    const std::string self = programPath();
    const std::vector<std::string> names = launchProgramNames(kToolName);
    for (const std::string& name : names) {
        const bool isSelf = names.size() == 1 || lowerCase(extractFileName(self, kPathSeparators)) == name;
        const std::string source = isSelf ? self : pathBeside(self, name);
        const std::string target = folder + kPathSeparator + name;
        std::string why;
        if (self.empty() || !placeProgram(source, target, &why)) {
            *err = "could not copy " + printable(source) + " to " + printable(target) + ": " + printable(why);
            return false;
        }
    }
    return true;
}

// Where the program that the line names goes: the user's own programs,
// or, for a launcher in a Flatpak's sandbox, that sandbox's own folder,
// which it sees at the same path.
std::string programFolderFor(const LaunchSetting& setting) {
    return setting.sandbox.empty() ? userProgramFolder(kToolName) : setting.sandbox + kPathSeparator + kToolName;
}

// The copy that the line for `setting` names.
std::string lineProgramFor(const LaunchSetting& setting) {
    return programFolderFor(setting) + kPathSeparator + launchProgramNames(kToolName).front();
}

// Where the launchers that installed `game` keep its launch line.
std::vector<LaunchSetting> launchSettingsOfGame(const std::string& game) {
    return launchSettingsOf(std::filesystem::u8path(homeFolder()),
                            std::filesystem::absolute(std::filesystem::u8path(game)).parent_path());
}

// A change to one launcher's settings file.
struct Edit {
    std::string text;  // the file's new content
    std::string shown; // the launch line (Steam) or wrapper (Heroic) as it is now
    KeptChange change; // the record's entry for the file after the change
    bool noted = true; // the record keeps that entry
};

// Sets the tool's part for `size` in `text`, naming `program`.
bool setIn(const LaunchSetting& setting, const std::string& text, const std::string& program, const std::string& size,
           const KeptChange* earlier, Edit* edit, std::string* err) {
    edit->text = text;
    edit->change = earlier != nullptr ? *earlier : KeptChange{};
    edit->change.file = finalPath(setting.file);
    edit->change.app = setting.app;
    std::string current;
    bool present = false;
    if (setting.launcher == Launcher::Heroic) {
        bool listMade = false;
        if (!readHeroicWrapper(text, setting.app, &current, &present, err) ||
            !setHeroicWrapper(&edit->text, setting.app, program, launchArguments(size), &listMade, err)) {
            return false;
        }
        if (!present) {
            edit->change.made = listMade ? 1 : 0;
        }
        edit->change.wrote = launchArguments(size);
        edit->shown = program + " " + edit->change.wrote;
        return true;
    }
    std::string rest;
    if (!readLaunchOptions(text, setting.app, &current, &present, err)) {
        return false;
    }
    const bool ours = present && startsWithLaunchPart(current, &rest);
    const std::string options = withLaunchPart(current, launchLineWord(program), size);
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

// Takes the tool's part out of `text`.
bool takeBackIn(const LaunchSetting& setting, const std::string& text, const KeptChange* earlier, Edit* edit,
                std::string* err) {
    edit->text = text;
    std::string current;
    bool present = false;
    if (setting.launcher == Launcher::Heroic) {
        if (!readHeroicWrapper(text, setting.app, &current, &present, err)) {
            return false;
        }
        return !present || removeHeroicWrapper(&edit->text, setting.app, earlier != nullptr && earlier->made == 1, err);
    }
    std::string rest;
    if (!readLaunchOptions(text, setting.app, &current, &present, err)) {
        return false;
    }
    if (!present || !startsWithLaunchPart(current, &rest)) {
        return true;
    }
    // What the tool found there goes back where the options are still what
    // it wrote; else the player's own options after the part stay.
    if (earlier != nullptr && earlier->wrote == current) {
        const EarlierOptions before{earlier->present, earlier->token, earlier->made};
        if (!putBackLaunchOptions(&edit->text, setting.app, before, err)) {
            return false;
        }
    } else {
        EarlierOptions ignored;
        if (!setLaunchOptions(&edit->text, setting.app, rest == kCommand ? "" : rest, &ignored, err)) {
            return false;
        }
    }
    readLaunchOptions(edit->text, setting.app, &edit->shown, &present, err);
    return true;
}

// The line to paste where no launcher's records name the game.
void tellLineToPaste(const std::string& game, const std::string& size, std::ostream& out) {
    const std::string part = launchPart(launchLineWord(programPath()), size);
    out << kSelf << "no launcher's records name " << printable(game)
        << ", so nothing was written. To keep it patched, put this in front of the game's command in its "
           "launcher:\n  "
        << printable(part) << "\nIn Steam's launch options, followed by " << kCommand
        << "; in Lutris, as the game's Command prefix (Configure, System options).\n";
}

// Sets or takes back (`size` kKeepOff) the tool's line for the game in
// `settings`, its launchers' (launchSettingsOfGame).
int keepPatched(const std::string& size, const std::string& game, const std::vector<LaunchSetting>& settings,
                std::ostream& out) {
    const bool off = size == kKeepOff;
    out << "Game: " << printable(game) << "\n";
    if (settings.empty()) {
        if (off) {
            out << kSelf << "no launcher's records name the game: nothing to take back\n";
            return 0;
        }
        tellLineToPaste(game, size, out);
        return 1;
    }
    const std::string recordPath = keepRecordPath();
    std::vector<KeptChange> record = readKeepRecord(recordPath);
    int status = 0;
    std::vector<Launcher> told;
    for (const LaunchSetting& setting : settings) {
        const std::string name = placeName(setting);
        std::string err;
        if (setting.file.empty()) {
            out << name
                << ": no account has signed in to this Steam yet: start Steam, sign in, exit Steam and "
                   "run this again\n";
            status = 1;
            continue;
        }
        if (isLauncherRunning(setting.launcher, std::filesystem::u8path(homeFolder()))) {
            if (std::find(told.begin(), told.end(), setting.launcher) == told.end()) {
                told.push_back(setting.launcher);
                out << launcherName(setting.launcher) << " is running and writes its settings over this change when "
                    << "it exits: exit " << launcherName(setting.launcher)
                    << (setting.launcher == Launcher::Steam ? " (Steam menu, Exit)" : "") << " and run this again\n";
            }
            status = 1;
            continue;
        }
        std::string text;
        Edit edit;
        const KeptChange* earlier = findKeptChange(&record, finalPath(setting.file), setting.app);
        const bool edited = readSettingsFile(setting.file, &text, &err) &&
                            (off ? takeBackIn(setting, text, earlier, &edit, &err)
                                 : placePrograms(programFolderFor(setting), &err) &&
                                       setIn(setting, text, lineProgramFor(setting), size, earlier, &edit, &err));
        if (!edited && setting.launcher == Launcher::Heroic && !isRegularFile(setting.file)) {
            out << name
                << ": Heroic has no settings for the game yet: open its settings in Heroic once, exit "
                   "Heroic and run this again\n";
            status = 1;
            continue;
        }
        if (!edited) {
            out << name << ": " << printable(setting.file) << " is left as it is: " << printable(err) << "\n";
            status = 1;
            continue;
        }
        if (edit.text == text) {
            out << name << (off ? ": holds nothing of gorv-patcher's" : ": already set: " + printable(edit.shown))
                << "\n";
            continue;
        }
        // A change is noted before it is written, so that whatever is
        // written can be taken back; a take-back is forgotten once done.
        std::vector<KeptChange> after;
        for (const KeptChange& change : record) {
            if (&change != earlier) {
                after.push_back(change);
            }
        }
        if (!off && edit.noted) {
            after.push_back(edit.change);
        }
        std::string copy;
        std::string note;
        if (!off && !writeKeepRecord(recordPath, after, &err)) {
            out << name << ": nothing was written, as the change could not be noted in " << printable(recordPath)
                << ": " << printable(err) << "\n";
            status = 1;
            continue;
        }
        if (!writeSettingsFile(setting.file, edit.text, &copy, &note, &err)) {
            out << name << ": " << printable(setting.file) << " could not be written: " << printable(err) << "\n";
            status = 1;
            continue;
        }
        // A record that keeps an entry of a change taken back does no harm:
        // the value is no longer what it says the tool wrote.
        if (off) {
            writeKeepRecord(recordPath, after, &err);
        }
        record = after;
        if (off && setting.launcher == Launcher::Heroic) {
            out << name << ": gorv-patcher's wrapper is taken out";
        } else if (off) {
            out << name << ": gorv-patcher's part is taken out of the launch options; "
                << (edit.shown.empty() ? "none are left" : "they are now\n  " + printable(edit.shown));
        } else {
            out << name
                << (setting.launcher == Launcher::Steam ? ": Gorv's launch options are now\n  "
                                                        : ": Gorv's first wrapper is now\n  ")
                << printable(edit.shown);
        }
        out << "\n  in " << printable(setting.file) << " (as it was before: " << printable(copy) << ")\n";
        if (!note.empty()) {
            out << "Note: " << printable(note) << "\n";
        }
    }
    if (!off && status == 0) {
        out << "Every start of the game through its launcher now sets it to " << size
            << " first, also after an update.\nTo take it back: gorv-patcher --keep-patched off\n";
    }
    return status;
}

} // namespace

int runKeepPatched(const std::string& given, const std::string& gamePath, std::ostream& out) {
    const bool ask = given.empty();
    std::string size = given;
    if (ask) {
        const auto width = readDimension("\nEnter your screen width: ", "\nEnter valid screen width:");
        const auto height =
            width ? readDimension("\nEnter your screen height: ", "\nEnter valid screen height:") : std::nullopt;
        if (!height) {
            return 1;
        }
        size = *width + "x" + *height;
        out << "\n";
    }
    ScreenSize screen;
    std::string err;
    if (size != kKeepOff && !parseScreenSize(size, &screen, &err)) {
        // The reason names the option as --screen has it.
        out << kSelf << "--keep-patched" << printable(err.substr(err.find(' '))) << "\n";
        return ask ? waitForEnter(2) : 2;
    }
    std::string game;
    if (!chooseGame(gamePath, ask, &game, &err)) {
        out << kSelf << err << "\n";
        return ask ? waitForEnter(1) : 1;
    }
    const int status = keepPatched(size, game, launchSettingsOfGame(game), out);
    return ask ? waitForEnter(status) : status;
}

bool offerToKeepPatched() {
    unsigned width = 0;
    unsigned height = 0;
    std::string game;
    std::string err;
    if (!primaryScreenSize(&width, &height) || !chooseGame("", false, &game, &err)) {
        return false;
    }
    const std::string size = std::to_string(width) + "x" + std::to_string(height);
    const std::vector<LaunchSetting> settings = launchSettingsOfGame(game);
    // The line as the first account's options would become, with this
    // program's copy in its place.
    std::string current;
    for (const LaunchSetting& setting : settings) {
        std::string text;
        bool present = false;
        if (setting.launcher == Launcher::Steam && !setting.file.empty() &&
            readSettingsFile(setting.file, &text, &err) &&
            readLaunchOptions(text, setting.app, &current, &present, &err)) {
            const std::string line = withLaunchPart(current, launchLineWord(lineProgramFor(setting)), size);
            if (!askOnDesktop(kToolName, "Keep Gorv patched after game updates? Steam's launch options for Gorv "
                                         "become:\n\n" +
                                             line)) {
                return false;
            }
            std::ostringstream said;
            const int status = keepPatched(size, game, settings, said);
            showOnDesktop(kToolName, said.str(), status == 0 ? DesktopMessage::Information : DesktopMessage::Error);
            return true;
        }
    }
    return false;
}
