#include "run/command_line.h"

#include <algorithm>

#include "files/backup_copy.h"
#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/player_text.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "run/patch_run.h"
#include "run/restore_run.h"
#include "run/unattended_run.h"

namespace {

const char* const kUsage = "usage: gorv-patcher [--help | --version | GAME | GAME.backup]\n"
                           "       gorv-patcher --screen WIDTHxHEIGHT [GAME | -- COMMAND [ARGUMENT...]]\n";

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
        << "    put back; a game that is set already is not written, and one whose value\n"
        << "    has moved (an update) is refused\n"
        << "gorv-patcher --screen WIDTHxHEIGHT -- COMMAND [ARGUMENT...]\n"
        << "    the same for the " << kExecutableName << " that COMMAND names (else the one in this\n"
        << "    folder), then runs COMMAND, always: as a launch option, the patch survives\n"
        << "    every game update. In Steam, the game's Properties, Launch Options:\n"
        << "        /path/to/gorv-patcher --screen 2560x1080 -- %command%\n"
        << "--help, --version\n"
        << "    this text, the version\n\n"
        << "A file " << kUpdateFileName << " moves the position that is patched: its first line,\n"
        << "a decimal number. It is read in the folder the tool is started from, else in the\n"
        << "game's folder.\n";
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

// A start of `kind` that needs nothing else.
Start startOf(StartKind kind) {
    return Start{kind, "", {}, {}};
}

} // namespace

Start parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return Start{};
    }
    const std::string& first = arguments.front();
    if (first == "--screen") {
        const auto end = std::find(arguments.begin(), arguments.end(), "--");
        Start start{end == arguments.end() ? StartKind::Screen : StartKind::Launch,
                    "",
                    std::vector<std::string>(arguments.begin(), end),
                    {}};
        if (end != arguments.end()) {
            start.command.assign(end + 1, arguments.end());
            // Nothing to start is no launch.
            return start.command.empty() ? startOf(StartKind::Usage) : start;
        }
        if (start.arguments.size() == 3) {
            start.path = start.arguments.back();
            start.arguments.pop_back();
        }
        return start.arguments.size() == 2 ? start : startOf(StartKind::Usage);
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

int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const Start start = parseCommandLine(arguments);
    switch (start.kind) {
    case StartKind::Dialogue: return runPatcher();
    case StartKind::Backup: return runRestore(start.path);
    case StartKind::Help: printHelp(out); return 0;
    case StartKind::Version: out << "gorv-patcher " << GORV_VERSION << "\n"; return 0;
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
    case StartKind::Launch: return runLaunch(start.arguments, start.command);
    case StartKind::Usage: break;
    }
    err << kUsage;
    // A console window of its own (a file dropped onto the program) would
    // close before the message could be read.
    return isOnlyProgramInConsole() ? waitForEnter(2) : 2;
}
