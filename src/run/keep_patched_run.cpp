#include "run/keep_patched_run.h"

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <vector>

#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/player_text.h"
#include "launchers/keep_patched.h"
#include "launchers/launch_line.h"
#include "launchers/launch_settings.h"
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

// Where the launchers that installed `game` keep its launch line.
std::vector<LaunchSetting> launchSettingsOfGame(const std::string& game) {
    return launchSettingsOf(std::filesystem::u8path(homeFolder()),
                            std::filesystem::absolute(std::filesystem::u8path(game)).parent_path());
}

// The line to paste where no launcher's records name the game.
void tellLineToPaste(const std::string& game, const KeepRequest& request, std::ostream& out) {
    const std::string program = request.program.empty() ? programPath() : request.program;
    const std::string part = launchPart(launchLineWord(program), request.size);
    out << kSelf << "no launcher's records name " << printable(game)
        << ", so nothing was written. To keep it patched, put this right before the game's command in its "
           "launcher:\n  "
        << printable(part) << "\nIn Steam's launch options, just before " << kCommand
        << " (after any NAME=value settings and wrappers); in Lutris, as the game's Command prefix (Configure, "
           "System options).\n";
}

// Says what came of one launcher's settings; false where it is not done.
bool tell(const KeepOutcome& outcome, bool off, std::vector<Launcher>* told, std::ostream& out) {
    const LaunchSetting& setting = outcome.setting;
    const std::string name = placeName(setting);
    const std::string launcher = launcherName(setting.launcher);
    switch (outcome.result) {
    case KeepResult::NoAccount:
        out << name << ": no account has signed in to this Steam yet: start Steam, sign in, exit Steam and run "
            << "this again\n";
        return false;
    case KeepResult::Running:
        if (std::find(told->begin(), told->end(), setting.launcher) == told->end()) {
            told->push_back(setting.launcher);
            out << launcher << " is running and writes its settings over this change when it exits: exit " << launcher
                << (setting.launcher == Launcher::Steam ? " (Steam menu, Exit)" : "") << " and run this again\n";
        }
        return false;
    case KeepResult::StartedMeanwhile:
        out << name << ": " << launcher << " started while " << printable(setting.file)
            << " was being written, so it is left as it was: exit " << launcher << " and run this again\n";
        return false;
    case KeepResult::NoSettingsYet:
        out << name << ": Heroic has no settings for the game yet: open its settings in Heroic once, exit Heroic "
            << "and run this again\n";
        return false;
    case KeepResult::Refused:
        out << name << ": " << printable(setting.file) << " is left as it is: " << printable(outcome.err) << "\n";
        return false;
    case KeepResult::NotNoted:
        out << name << ": nothing was written, as " << printable(outcome.err) << "\n";
        return false;
    case KeepResult::NotWritten:
        out << name << ": " << printable(setting.file) << " could not be written: " << printable(outcome.err) << "\n";
        return false;
    case KeepResult::NothingOurs: out << name << ": holds nothing of gorv-patcher's\n"; return true;
    case KeepResult::AlreadySet: out << name << ": already set: " << printable(outcome.shown) << "\n"; return true;
    case KeepResult::TakenOut:
    case KeepResult::Set: break;
    }
    if (off && setting.launcher == Launcher::Heroic) {
        out << name << ": gorv-patcher's wrapper is taken out";
    } else if (off) {
        out << name << ": gorv-patcher's part is taken out of the launch options; "
            << (outcome.shown.empty() ? "none are left" : "they are now\n  " + printable(outcome.shown));
    } else {
        out << name
            << (setting.launcher == Launcher::Steam ? ": Gorv's launch options are now\n  "
                                                    : ": Gorv's first wrapper is now\n  ")
            << printable(outcome.shown);
    }
    out << "\n  in " << printable(setting.file) << " (as it was before: " << printable(outcome.copy) << ")\n";
    if (!outcome.note.empty()) {
        out << "Note: " << printable(outcome.note) << "\n";
    }
    return true;
}

// Sets or takes back (`request.size` kKeepOff) the tool's line for the game
// in `settings`, its launchers' (launchSettingsOfGame).
int keepPatched(const KeepRequest& request, const std::string& game, const std::vector<LaunchSetting>& settings,
                std::ostream& out) {
    const bool off = request.size == kKeepOff;
    out << "Game: " << printable(game) << "\n";
    if (settings.empty()) {
        if (off) {
            out << kSelf << "no launcher's records name the game: nothing to take back\n";
            return 0;
        }
        tellLineToPaste(game, request, out);
        return 1;
    }
    std::vector<KeepOutcome> outcomes;
    std::string err;
    if (!keepPatchedIn(settings, request, &outcomes, &err)) {
        out << kSelf << printable(err) << "\n";
        return 1;
    }
    int status = 0;
    std::vector<Launcher> told;
    for (const KeepOutcome& outcome : outcomes) {
        status = tell(outcome, off, &told, out) ? status : 1;
    }
    if (!off && status == 0) {
        out << "Every start of the game through its launcher now sets it to " << request.size
            << " first, also after an update.\nTo take it back: gorv-patcher --keep-patched off\n";
    }
    return status;
}

} // namespace

int runKeepPatched(const std::string& given, const std::string& gamePath, const std::string& program,
                   std::ostream& out) {
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
    KeepRequest request{size, ""};
    if (!program.empty()) {
        // The line names it as the launcher finds it from any folder.
        std::error_code error;
        request.program = std::filesystem::absolute(std::filesystem::u8path(program), error).u8string();
        if (!isRegularFile(program)) {
            out << kSelf << "--program " << printable(program, kMaxQuotedAnswer) << ": no such program\n";
            return ask ? waitForEnter(2) : 2;
        }
    }
    std::string game;
    if (!chooseGame(gamePath, ask, &game, &err)) {
        out << kSelf << err << "\n";
        return ask ? waitForEnter(1) : 1;
    }
    const int status = keepPatched(request, game, launchSettingsOfGame(game), out);
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
    const KeepRequest request{std::to_string(width) + "x" + std::to_string(height), ""};
    const std::vector<LaunchSetting> settings = launchSettingsOfGame(game);
    std::string line;
    if (!steamLineOf(settings, request, &line)) {
        return false;
    }
    if (!askOnDesktop(kToolName,
                      "Keep Gorv patched after game updates? Steam's launch options for Gorv become:\n\n" + line)) {
        return false;
    }
    std::ostringstream said;
    const int status = keepPatched(request, game, settings, said);
    showOnDesktop(kToolName, said.str(), status == 0 ? DesktopMessage::Information : DesktopMessage::Error);
    return true;
}
