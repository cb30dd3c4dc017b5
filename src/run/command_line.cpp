#include "run/command_line.h"

#include "files/backup_restore.h"
#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/player_text.h"
#include "platform/console.h"
#include "platform/file_system.h"
#include "run/patch_run.h"
#include "run/restore_run.h"

namespace {

const char* const kUsage = "usage: gorv-patcher [--help | --version | GAME | GAME.backup]\n";

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
        << "--help, --version\n"
        << "    this text, the version\n\n"
        << "A file " << kUpdateFileName << " moves the position that is patched: its first line,\n"
        << "a decimal number. It is read in the folder the tool is started from, else in the\n"
        << "game's folder.\n";
}

} // namespace

Start parseCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return Start{};
    }
    const std::string& first = arguments.front();
    if (arguments.size() > 1 || first.empty()) {
        return Start{StartKind::Usage, ""};
    }
    if (first == "--help") {
        return Start{StartKind::Help, ""};
    }
    if (first == "--version") {
        return Start{StartKind::Version, ""};
    }
    if (first[0] == '-') {
        return Start{StartKind::Usage, ""};
    }
    return Start{gamePathOf(first) != first ? StartKind::Backup : StartKind::Game, first};
}

int runCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const Start start = parseCommandLine(arguments);
    switch (start.kind) {
    case StartKind::Dialogue: return runPatcher();
    case StartKind::Backup: return runRestore(start.path);
    case StartKind::Help: printHelp(out); return 0;
    case StartKind::Version: out << "gorv-patcher " << GORV_VERSION << "\n"; return 0;
    case StartKind::Game:
        // Only the game: another file would be backed up in full and then
        // refused, so it is refused before anything is read or written.
        if (!isRegularFile(start.path)) {
            err << "gorv-patcher: " << printable(start.path, kMaxQuotedAnswer) << " is not a file\n";
        } else if (extractFileName(start.path, kPathSeparators) != kExecutableName) {
            err << "gorv-patcher: " << printable(start.path, kMaxQuotedAnswer) << " is not " << kExecutableName
                << ": only a file named " << kExecutableName << " is patched\n";
        } else {
            return runPatcherOn(start.path);
        }
        break;
    case StartKind::Usage: break;
    }
    err << kUsage;
    // A console window of its own (a file dropped onto the program) would
    // close before the message could be read.
    return isOnlyProgramInConsole() ? waitForEnter(2) : 2;
}
