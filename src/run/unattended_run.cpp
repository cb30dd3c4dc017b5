#include "run/unattended_run.h"

#include <ctime>
#include <iomanip>
#include <limits>
#include <sstream>

#include "files/backup_copy.h"
#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/offset_table.h"
#include "files/patch_writer.h"
#include "files/patched_state.h"
#include "files/player_text.h"
#include "files/text_file.h"
#include "files/value_place.h"
#include "platform/console.h"
#include "platform/desktop_start.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "ratio/aspect_ratio.h"
#include "ratio/patch_value.h"
#include "run/patch_run.h"

namespace {

// The narrowest and the widest screens there are, and then some.
constexpr float kNarrowestRatio = 0.25F;
constexpr float kWidestRatio = 8.0F;

// What a launcher's wrapper says, on standard error among the game's own.
const char* const kSelf = "gorv-patcher: ";

// "16:6.75 (2.37037)", as the dialogue's summary shows a ratio.
std::string ratioText(const AspectRatio& record) {
    std::ostringstream text;
    text << record.widthTerm << ":" << record.heightTerm << " (" << record.ratio << ")";
    return text.str();
}

// The game when none was named: in the working folder, else the one that
// the search finds; else *err says why there is none.
bool findTheGame(std::string* gamePath, std::string* err) {
    if (isRegularFile(kExecutableName)) {
        *gamePath = kExecutableName;
        return true;
    }
    const std::vector<std::string> found = findRecordedGames();
    if (found.size() == 1) {
        *gamePath = found.front();
        return true;
    }
    *err = found.empty() ? "no " + kExecutableName + " in this folder, and none where game stores install games"
                         : kExecutableName + " is in more than one place:";
    for (const std::string& path : found) {
        *err += "\n  " + printable(path);
    }
    *err += "\nName the game: gorv-patcher --screen WIDTHxHEIGHT PATH/" + kExecutableName;
    return false;
}

// Why the words before a launch's "--" are not "--screen WIDTHxHEIGHT";
// empty when they are.
std::string screenWordsFault(const std::vector<std::string>& words) {
    if (words.size() == 2 && words[0] == kScreenOption) {
        return "";
    }
    std::string given;
    for (std::size_t i = 0; i < words.size(); ++i) {
        given += (i == 0 ? "" : " ") + words[i];
    }
    return "--screen WIDTHxHEIGHT should stand before --, not " +
           (words.empty() ? std::string("nothing") : printable(given, kMaxQuotedAnswer));
}

// Whether the two paths name one file (the working folder may be the
// game's, named in two ways).
bool namesOneFile(const std::string& one, const std::string& other) {
    File first;
    File second;
    std::string ignored;
    return one == other || (openForReading(one, &first, &ignored) && openForReading(other, &second, &ignored) &&
                            isSameFile(first.get(), second.get()));
}

// Writes the value's new place down beside the game, so that the next
// launch reads 4 bytes again. Only the update file that was in use beside
// the game, now shown stale, or a new one where none is, is written; never
// another folder's.
void noteNewPlace(const std::string& gamePath, std::int32_t place, const std::string& inUse, std::ostream& out) {
    const std::string beside = pathBeside(gamePath, kUpdateFileName);
    std::string note;
    std::string err;
    if (!inUse.empty() && !namesOneFile(inUse, beside)) {
        out << kSelf << printable(inUse) << " is out of date: put " << place
            << " on its first line, or remove it, or the next launch patches nothing" << std::endl;
    } else if (inUse.empty() && entryAt(beside, &err) != Entry::Missing) {
        out << kSelf << printable(beside) << " is not used: put " << place << " on its first line" << std::endl;
    } else if (!replaceWithSyncedText(beside, std::to_string(place) + "\n", &note, &err)) {
        out << kSelf << "Could not write offset " << place << " into " << printable(beside) << ": " << printable(err)
            << "; put it on the file's first line, or the next launch patches nothing" << std::endl;
    } else {
        out << kSelf << "Offset " << place << " is written into " << printable(beside) << std::endl;
        if (!note.empty()) {
            out << kSelf << "Note: could not sync the folder of " << printable(beside) << ": " << printable(note)
                << std::endl;
        }
    }
}

// The local time, as "2026-12-09 10:04:31".
std::string localTime() {
    const std::time_t now = std::time(nullptr);
    const std::tm* const local = std::localtime(&now); // one thread: its buffer is ours
    char text[32] = {};
    return local != nullptr && std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local) > 0 ? text : "";
}

// What a launch says: each line with the tool's name before it, none
// empty, on standard error and in its log. The log goes beside the game;
// where it cannot be written there (a read-only folder, a full disk), into
// the user's state folder, and an older log beside the game goes, so that
// no log tells of another start.
struct LaunchLog {
    std::string header; // the log's first lines, not on standard error
    std::string path;   // beside the game
    std::string said;
    bool moved = false;

    void tell(const std::string& text) {
        std::string lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            if (!line.empty()) {
                lines += (line.rfind(kSelf, 0) == 0 ? "" : kSelf) + line + "\n";
            }
        }
        std::cerr << lines << std::flush;
        said += lines;
        std::string ignored;
        if (!moved && replaceWithText(path, header + said, &ignored)) {
            return;
        }
        const std::string folder = userStateFolder();
        const std::string elsewhere =
            folder.empty() ? "" : folder + kPathSeparator + "gorv-patcher" + kPathSeparator + kLaunchLogName;
        if (!moved) {
            moved = true;
            removeFile(path, &ignored);
            const std::string line = std::string(kSelf) + "the log is in " +
                                     (elsewhere.empty() ? "no file: there is no state folder" : printable(elsewhere)) +
                                     ", as " + printable(path) + " could not be written\n";
            std::cerr << line << std::flush;
            said += line;
        }
        if (!elsewhere.empty() && makeFolders(folderOf(elsewhere), &ignored)) {
            replaceWithText(elsewhere, header + said, &ignored);
        }
    }
};

// How many bytes the game differs from its backup in, outside the patch's
// 4 at `offset`: more than none where the backup was kept through a small
// update. 0 where either cannot be read.
std::int64_t changesBeside(const std::string& gamePath, const std::string& backupPath, std::int64_t offset) {
    File game;
    File backup;
    std::string ignored;
    std::int64_t count = 0;
    return openForReading(gamePath, &game, &ignored) && openForReading(backupPath, &backup, &ignored) &&
                   countChangesBeside(game.get(), backup.get(), offset, kMaxChangedBytes, &count, &ignored)
               ? std::max<std::int64_t>(count, 0)
               : 0;
}

int notPatched(const std::string& reason, std::ostream& out) {
    out << kSelf << "Not patched: " << reason << std::endl;
    return 1;
}

} // namespace

bool isScreenRatio(float ratio) {
    return ratio >= kNarrowestRatio && ratio <= kWidestRatio;
}

bool parseScreenSize(const std::string& text, ScreenSize* size, std::string* err) {
    const std::size_t x = text.find_first_of("xX");
    const auto width = x != std::string::npos ? parseDimension(text.substr(0, x)) : std::nullopt;
    const auto height = x != std::string::npos ? parseDimension(text.substr(x + 1)) : std::nullopt;
    if (!width || !height) {
        *err = "--screen " + printable(text, kMaxQuotedAnswer) +
               ": give the screen's width and height in pixels as WIDTHxHEIGHT, such as 2560x1080";
        return false;
    }
    if (!isScreenRatio(reduceAspectRatio(*width, *height).ratio)) {
        *err = "--screen " + text + ": no screen has that shape (its width is 0.25 to 8 times its height)";
        return false;
    }
    *size = ScreenSize{*width, *height};
    return true;
}

int patchUnattended(const ScreenSize& size, const std::string& gamePath, std::ostream& out, bool sayOffset) {
    std::int32_t offset = kDefaultPatchOffset;
    const UpdateFile working = loadOffsetTable(kUpdateFileName, &offset, out);
    std::string game = gamePath;
    std::string err;
    if (game.empty() && !findTheGame(&game, &err)) {
        return notPatched(err, out);
    }
    // The update file whose offset is in use; empty for the built-in one.
    std::string inUse = working == UpdateFile::Used ? kUpdateFileName : "";
    if (offsetFromGameFolder(working) && loadOffsetBesideGame(game, &offset, out) == UpdateFile::Used) {
        inUse = pathBeside(game, kUpdateFileName);
    }
    if (sayOffset) {
        out << kSelf << "Offset " << offset << (inUse.empty() ? " (built in)" : ", from " + printable(inUse)) << "\n";
    }
    const AspectRatio record = reduceAspectRatio(size.width, size.height);
    const PatchValue value = patchValueOf(record.ratio);

    // One small read decides, before anything is opened for writing: a game
    // that the tool left set, unchanged since, is left alone. Any other
    // game is looked at in full: where the backup is an earlier version (an
    // update came), only that version says where the value is.
    PatchValue current{};
    if (!checkGameFile(game, false, &err)) {
        return notPatched(printable(err), out);
    }
    const std::string backupPath = game + kBackupSuffix;
    ValuePlace place;
    const auto alreadySet = [&game, &backupPath, &place, &record, &out](std::int64_t at) {
        rememberPatched(game, at, backupPath,
                        place.earlierOffset >= 0 ? place.earlierOffset : earlierOffsetOf(game, backupPath, at));
        out << kSelf << printable(game) << " is already set to " << ratioText(record) << std::endl;
        return 0;
    };
    if (readPatchBytes(game, offset, &current, &err) && current == value && isAsPatched(game, offset)) {
        return alreadySet(offset);
    }
    if (!locateValue(game, backupPath, offset, value, &place, &err)) {
        return notPatched(err, out);
    }
    if (place.offset < 0) {
        return notPatched(place.reason, out);
    }
    if (place.offset > std::numeric_limits<std::int32_t>::max()) {
        return notPatched("the value is now at offset " + std::to_string(place.offset) + ", past what " +
                              kUpdateFileName + " can hold",
                          out);
    }
    if (place.offset != offset) {
        out << kSelf << "The game was updated: the value moved from offset " << offset << " to offset " << place.offset
            << ", as its earlier version in " << printable(backupPath) << " shows (" << place.how << ")" << std::endl;
        offset = static_cast<std::int32_t>(place.offset);
        noteNewPlace(game, offset, inUse, out);
    }
    if (!readPatchBytes(game, offset, &current, &err)) {
        return notPatched(printable(err), out);
    }
    if (current == value) {
        return alreadySet(offset);
    }

    File lock;
    Backup backup;
    if (!prepareToPatch(game, &lock, &backup, &err) || !writePatch(game, offset, value, &err)) {
        return notPatched(printable(err), out);
    }
    // A backup kept from before a small update is an earlier version: a
    // restore would undo that update too.
    const std::int64_t more = backup.kept ? changesBeside(game, backup.path, offset) : 0;
    // A backup copied anew holds this version: its place is the game's.
    rememberPatched(game, offset, backupPath, backup.kept ? place.earlierOffset : -1);
    out << kSelf << "Patched " << printable(game) << " to " << ratioText(record) << "; "
        << (more > 0 ? printable(backup.path) + " holds an earlier version of the game, which differs in " +
                           std::to_string(more) + " more bytes"
                     : "the game as it was is in " + printable(backup.path))
        << std::endl;
    if (!backup.note.empty()) {
        out << kSelf << "Note: " << printable(backup.note) << std::endl;
    }
    return 0;
}

int runLaunch(const std::vector<std::string>& screenArguments, const Command& command, bool dashes,
              const std::function<void()>& beforeStart) {
    // Every line goes to standard error, among the game's own, and into the
    // log beside the game: from a launcher or in Game Mode, standard error
    // leads nowhere a player looks. The log starts with what a report
    // needs: the version, the time, the command.
    LaunchLog log;
    log.header = "gorv-patcher " + std::string(GORV_VERSION) + ", " + localTime() + "\n" + kSelf + "starts " +
                 printable(commandText(command)) + "\n";
    {
        // Every file of the patch is closed before the command runs.
        std::string game;
        for (const std::string& word : command.words) {
            if (isGamePath(word)) {
                game = word;
                break;
            }
        }
        if (game.empty() && isRegularFile(kExecutableName)) {
            game = kExecutableName;
        }
        log.path = pathBeside(game, kLaunchLogName);
        std::ostringstream lines;
        ScreenSize size;
        // Options misspelt after the size are named, and left out.
        std::vector<std::string> screen = screenArguments;
        while (screen.size() > 2 && screen[0] == kScreenOption && screen.back().size() > 1 && screen.back()[0] == '-') {
            lines << kSelf << printable(screen.back(), kMaxQuotedAnswer)
                  << " is not an option of gorv-patcher's, and is left out\n";
            screen.pop_back();
        }
        std::string err = screenWordsFault(screen);
        if (!dashes && err.empty()) {
            lines << kSelf << "no -- after " << screen[0] << " " << printable(screen[1])
                  << ": all that follows is the command\n";
        }
        if (!err.empty() || !parseScreenSize(screen[1], &size, &err)) {
            lines << kSelf << err << "; the game starts without a patch\n";
        } else if (game.empty()) {
            lines << kSelf << "no " << kExecutableName
                  << " in the command or in this folder; the game starts without a patch\n";
        } else {
            patchUnattended(size, game, lines, true);
        }
        log.tell(lines.str());
    }
    beforeStart();
    int status = 0;
    std::string err;
    const auto started = [&log](const std::string& note) {
        if (!note.empty()) {
            log.tell(std::string(kSelf) + "the game does not stop when gorv-patcher is stopped: " + printable(note) +
                     "\n");
        }
    };
    if (!runInPlace(command, started, &status, &err)) {
        const std::string line = "could not start " +
                                 printable(command.words.empty() ? "" : command.words.front(), kMaxQuotedAnswer) +
                                 ": " + err;
        log.tell(std::string(kSelf) + line + "\n");
        // The windowed build has no console to say it on.
        if (isWindowedProgram()) {
            showOnDesktop("gorv-patcher", line, DesktopMessage::Error);
        }
        return 127;
    }
    return status;
}
