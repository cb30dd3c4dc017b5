#include "run/command_line.h"

#include <algorithm>
#include <sstream>

#include "files/backup_copy.h"
#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/player_text.h"
#include "platform/console.h"
#include "platform/desktop_start.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "run/keep_patched_run.h"
#include "run/patch_run.h"
#include "run/restore_run.h"
#include "run/unattended_run.h"

namespace {

const std::string kKeepOption = "--keep-patched";
const std::string kProgramOption = "--program";

const char* const kUsage = "usage: gorv-patcher [--help | --version | GAME | GAME.backup]\n"
                           "       gorv-patcher --screen WIDTHxHEIGHT [GAME | [--] COMMAND [ARGUMENT...]]\n"
                           "       gorv-patcher --keep-patched [WIDTHxHEIGHT | off] [GAME] [--program PATH]\n";

void printHelp(std::ostream& out) {
    const std::string backupName = kExecutableName + kBackupSuffix;
    out << kUsage << "\nSets the game Gorv to your screen's aspect ratio.\n\n"
        << "gorv-patcher\n"
        << "    asks for your screen's width and height, finds " << kExecutableName << " (in this folder, else it\n"
        << "    asks where it is), backs it up to " << backupName << " and patches it\n"
        << "gorv-patcher PATH/" << kExecutableName << "\n"
        << "    the same for that game (a game dropped onto the program)\n"
        << "gorv-patcher PATH/" << backupName << "\n"
        << "    puts the game back as it was before any patch (a backup dropped onto the program)\n"
        << "gorv-patcher --screen WIDTHxHEIGHT [PATH/" << kExecutableName << "]\n"
        << "    the same without a question, for that screen: for a game that an update\n"
        << "    put back; a game that is set already is not written, and where an update\n"
        << "    moved the value, its earlier version in the backup shows where it went\n"
        << "    (the place is written into " << kUpdateFileName << "), else nothing is\n"
        << "    written\n"
        << "gorv-patcher --screen WIDTHxHEIGHT [--] COMMAND [ARGUMENT...]\n"
        << "    the same for the " << kExecutableName << " that COMMAND names (else the one in this\n"
        << "    folder), then runs COMMAND, always: as a launch option, the patch survives\n"
        << "    every game update. In Steam, the game's Properties, Launch Options:\n"
        << "        /path/to/gorv-patcher --screen 2560x1080 -- %command%\n"
        << "    Without the --, all after the size is COMMAND all the same (but for a\n"
        << "    game alone, which is patched). What it did is also written to\n"
        << "    gorv-patcher.log beside the game. On Windows, gorv-patcherw.exe does the\n"
        << "    same without a console window, and launches a game alone too.\n"
        << "gorv-patcher --keep-patched WIDTHxHEIGHT [PATH/" << kExecutableName << "]\n"
        << "    sets that line for the game in Steam (every account) and in Heroic, the\n"
        << "    launchers that installed it, with a copy of this program in a place of its\n"
        << "    own; without the size it asks for it. The launcher must not be running.\n"
        << "    The line goes right before the game's command, after the launcher's\n"
        << "    NAME=value settings and wrappers. --program PATH names a program of your\n"
        << "    own instead of the copy (a file that is in the copy's place stays).\n"
        << "gorv-patcher --keep-patched off [PATH/" << kExecutableName << "]\n"
        << "    takes that back, exactly\n"
        << "--help, --version\n"
        << "    this text, the version\n\n"
        << "A file " << kUpdateFileName << " moves the position that is patched: its first line,\n"
        << "a decimal number. It is read in the folder the tool is started from, else in the\n"
        << "game's folder.\n";
}

void printVersion(std::ostream& out) {
    out << "gorv-patcher " << GORV_VERSION << "\n";
}

// Only the game: another file would be backed up in full and then refused,
// so it is refused before anything is read or written.
bool isGameArgument(const std::string& path, std::ostream& err) {
    if (!isRegularFile(path)) {
        err << "gorv-patcher: " << printable(path, kMaxQuotedAnswer) << " is not a file\n";
        return false;
    }
    if (extractFileName(path, kPathSeparators) != kExecutableName) {
        err << "gorv-patcher: " << printable(path, kMaxQuotedAnswer) << " is not " << kExecutableName
            << ": only a file named " << kExecutableName << " is patched\n";
        return false;
    }
    return true;
}

// The windowed build (for Windows launchers) started by hand: it has no
// console to ask in, so a message box says what it is for.
int tellLauncherUse(StartKind kind, std::ostream& out) {
    std::ostringstream text;
    if (kind == StartKind::Help) {
        printHelp(text);
    } else if (kind == StartKind::Version) {
        printVersion(text);
    } else {
        const std::string self = programPath();
        const std::string name = extractFileName(self, kPathSeparators);
        text << name << " is for launch options: it sets the game to your screen before every start, "
             << "without a window. To patch the game now, start gorv-patcher.exe.\n\n"
             << "As a launch option (in Steam, the game's Properties, Launch Options), with your screen's "
             << "width and height:\n\n\"" << self << "\" --screen 2560x1080 -- %command%\n";
    }
    out << text.str();
    showOnDesktop("gorv-patcher", text.str());
    return kind == StartKind::Help || kind == StartKind::Version ? 0 : 2;
}

// A start of `kind` that needs nothing else.
Start startOf(StartKind kind) {
    return Start{kind, "", {}, {}};
}

} // namespace

Start parseCommandLine(const std::vector<std::string>& given, bool windowed) {
    // "--screen=WIDTHxHEIGHT" is "--screen WIDTHxHEIGHT".
    std::vector<std::string> arguments = given;
    if (!arguments.empty() && arguments.front().rfind(kScreenOption + "=", 0) == 0) {
        arguments.insert(arguments.begin() + 1, arguments.front().substr(kScreenOption.size() + 1));
        arguments.front() = kScreenOption;
    }
    // "--screen" and the size: one word as given, or two.
    const std::size_t words = arguments.size() > given.size() ? 1 : 2;
    // A launcher's option: everything after "--screen WIDTHxHEIGHT" is the
    // command, "--" or not (a "--" of its own stays in it, such as Steam's
    // chain), but for one game alone, which the console build patches.
    // A misspelt option after the size, with a "--" later, is no command:
    // the command is what follows that "--" (and the option is named).
    const bool misspelt = arguments.size() > 2 && arguments[2] != "--" && arguments[2].size() > 1 &&
                          arguments[2][0] == '-' &&
                          std::find(arguments.begin() + 3, arguments.end(), "--") != arguments.end();
    if (arguments.size() > 2 && arguments.front() == kScreenOption && arguments[1] != "--" && !misspelt) {
        const std::vector<std::string> screen(arguments.begin(), arguments.begin() + 2);
        if (arguments[2] == "--") {
            return Start{
                StartKind::Launch, "",  screen, std::vector<std::string>(arguments.begin() + 3, arguments.end()),
                words + 1,         true};
        }
        if (arguments.size() == 3 && !windowed && isGamePath(arguments[2])) {
            return Start{StartKind::Screen, arguments[2], screen, {}};
        }
        return Start{StartKind::Launch,
                     "",
                     screen,
                     std::vector<std::string>(arguments.begin() + 2, arguments.end()),
                     words,
                     false};
    }
    // Any other "--": the command after it runs, whatever stands before.
    const auto end = std::find(arguments.begin(), arguments.end(), "--");
    if (end != arguments.end()) {
        return Start{StartKind::Launch,
                     "",
                     std::vector<std::string>(arguments.begin(), end),
                     std::vector<std::string>(end + 1, arguments.end()),
                     static_cast<std::size_t>(std::find(given.begin(), given.end(), "--") - given.begin()) + 1,
                     true};
    }
    if (arguments.empty()) {
        return Start{};
    }
    const std::string& first = arguments.front();
    if (first == kKeepOption) {
        // "--program PATH" anywhere after the option.
        std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
        const auto option = std::find(rest.begin(), rest.end(), kProgramOption);
        std::vector<std::string> program;
        if (option != rest.end()) {
            if (option + 1 == rest.end() || (option + 1)->empty()) {
                return startOf(StartKind::Usage);
            }
            program.push_back(*(option + 1));
            rest.erase(option, option + 2);
        }
        if (rest.size() > 2 || (!rest.empty() && rest[0].empty())) {
            return startOf(StartKind::Usage);
        }
        return Start{StartKind::Keep, rest.size() == 2 ? rest[1] : "",
                     rest.empty() ? std::vector<std::string>{} : std::vector<std::string>{rest[0]}, program};
    }
    if (first == kScreenOption) {
        return arguments.size() == 2 ? Start{StartKind::Screen, "", arguments, {}} : startOf(StartKind::Usage);
    }
    if (arguments.size() > 1 || first.empty()) {
        return startOf(StartKind::Usage);
    }
    if (first == "--help") {
        return startOf(StartKind::Help);
    }
    if (first == "--version") {
        return startOf(StartKind::Version);
    }
    if (first[0] == '-') {
        return startOf(StartKind::Usage);
    }
    return Start{gamePathOf(first) != first ? StartKind::Backup : StartKind::Game, first, {}, {}};
}

bool asksInConsole(const std::vector<std::string>& arguments) {
    const Start start = parseCommandLine(arguments, isWindowedProgram());
    const StartKind kind = start.kind;
    return kind == StartKind::Dialogue || kind == StartKind::Game || kind == StartKind::Backup ||
           (kind == StartKind::Keep && start.arguments.empty());
}

int runCommandLine(const std::vector<std::string>& arguments, const std::function<void()>& beforeStart,
                   std::ostream& out, std::ostream& err) {
    const Start start = parseCommandLine(arguments, isWindowedProgram());
    if (isWindowedProgram() && start.kind != StartKind::Screen && start.kind != StartKind::Launch) {
        // Started on its own, it offers to set the launch line.
        if (start.kind == StartKind::Dialogue && offerToKeepPatched()) {
            return 0;
        }
        return tellLauncherUse(start.kind, out);
    }
    switch (start.kind) {
    case StartKind::Dialogue: return runPatcher();
    case StartKind::Backup: return runRestore(start.path);
    case StartKind::Help: printHelp(out); return 0;
    case StartKind::Version: printVersion(out); return 0;
    case StartKind::Game:
        if (isGameArgument(start.path, err)) {
            return runPatcherOn(start.path);
        }
        break;
    case StartKind::Screen: {
        ScreenSize size;
        std::string reason;
        if (!parseScreenSize(start.arguments.back(), &size, &reason)) {
            err << "gorv-patcher: " << reason << "\n";
        } else if (start.path.empty() || isGameArgument(start.path, err)) {
            return patchUnattended(size, start.path, out);
        }
        // Nobody may be there to press Enter.
        err << kUsage;
        return 2;
    }
    case StartKind::Launch:
        if (!start.command.empty()) {
            return runLaunch(start.arguments, Command{start.command, start.commandStart}, start.dashes, beforeStart);
        }
        // A launch never waits: nobody may be there to press Enter.
        err << kUsage;
        return 2;
    case StartKind::Keep:
        return runKeepPatched(start.arguments.empty() ? "" : start.arguments.front(), start.path,
                              start.command.empty() ? "" : start.command.front(), out);
    case StartKind::Usage: break;
    }
    err << kUsage;
    // A console window of its own (a file dropped onto the program) would
    // close before the message could be read.
    return isOnlyProgramInConsole() ? waitForEnter(2) : 2;
}
