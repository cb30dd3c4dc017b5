#include "run/patch_run.h"

#include <algorithm>
#include <cstdlib>
#include <iostream>

#include "files/backup_copy.h"
#include "files/executable_locator.h"
#include "files/game_files.h"
#include "files/offset_table.h"
#include "files/patch_writer.h"
#include "files/player_text.h"
#include "platform/file_system.h"
#include "ratio/aspect_ratio.h"
#include "ratio/patch_value.h"

namespace {

constexpr float kDimensionLimit = 4294967296.0F; // 2^32, exclusive

// The way out whenever there is nothing to patch.
int closeRun() {
    std::cout << "\nClosing!...";
    return waitForEnter();
}

// Writes the patch; on failure *err says why the executable was left as it was.
bool patchExecutable(const ExecutableLocation& location, std::int32_t offset, const std::string& patchText,
                     std::string* err) {
    if (location.fileName != kExecutableName) {
        *err = "only a file named " + kExecutableName + " is patched";
        return false;
    }
    return writePatch(location.path, offset, decodePatchBytes(patchText), err);
}

// The run, with the game at `chosen` when it is known before the dialogue.
int patchRun(const std::optional<ExecutableLocation>& chosen) {
    std::int32_t patchOffset = kDefaultPatchOffset;
    const UpdateFile working = loadOffsetTable(kUpdateFileName, &patchOffset);

    std::cout << "-Gorv Aspect Ratio Patcher-"
              << "\nThis tool attempts to automatically patch the game for any aspect ratio."
              << "\n";

    const auto widthText = readDimension("\nEnter your screen width: ", "\nEnter valid screen width:");
    if (!widthText) {
        return closeRun();
    }
    const auto heightText = readDimension("\nEnter your screen height: ", "\nEnter valid screen height:");
    if (!heightText) {
        return closeRun();
    }

    const AspectRatio record = reduceAspectRatio(*parseDimension(*widthText), *parseDimension(*heightText));
    const std::string patchText = formatPatchText(record.ratio);

    const ExecutableLocation location = chosen ? *chosen : locateGameExecutable();
    if (location.path == kFailedPath) {
        return closeRun();
    }
    if (offsetFromGameFolder(working)) {
        loadOffsetBesideGame(location.path, &patchOffset);
    }

    std::string err;
    // A link to the tool's own files, or to no file, is no game: nothing
    // is copied, removed or written.
    if (!checkGameFile(location.path, false, &err)) {
        std::cout << "\nNot patched: " << printable(err) << "\n";
        return closeRun();
    }

    std::cout << "\nBacking Up...\n";
    // Held until the executable is written: another run can neither patch
    // it between our backup and our write nor swap the backup under us.
    File lock;
    Backup backup;
    if (!prepareToPatch(location.path, &lock, &backup, &err)) {
        std::cout << "\nBackup failed: " << printable(err) << "\n";
        return closeRun();
    }
    std::cout << "\nBacked Up " << printable(backup.path) << std::endl;
    if (!backup.note.empty()) {
        std::cout << "Note: " << printable(backup.note) << std::endl;
    }

    std::cout << "\nPatching: " << printable(location.path) << std::endl;
    if (!patchExecutable(location, patchOffset, patchText, &err)) {
        std::cout << "\nNot patched: " << printable(err) << "\n";
    }
    lock.reset();

    std::cout << std::endl
              << "Set Aspect Ratio to " << record.widthTerm << ":" << record.heightTerm << "\t" << record.ratio
              << "\nEnjoy the game!";
    return waitForEnter();
}

} // namespace

int waitForEnter(int status) {
    std::cout << "\n\nPress Enter to Continue..." << std::flush;
    std::cin.get();
    return status;
}

bool isAllDigits(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<float> parseDimension(const std::string& text) {
    if (!isAllDigits(text)) {
        return std::nullopt;
    }
    const float value = std::strtof(text.c_str(), nullptr);
    if (value < 1.0F || value >= kDimensionLimit) {
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> readDimension(const std::string& prompt, const std::string& rePrompt) {
    std::cout << prompt << std::flush;
    std::string line;
    bool tooLong = false;
    // A last line without a newline still counts as an answer.
    while (readAnswerLine(std::cin, &line, &tooLong)) {
        if (!tooLong && parseDimension(line)) {
            return line;
        }
        std::cout << rePrompt << std::flush;
    }
    return std::nullopt;
}

int runPatcher() {
    return patchRun(std::nullopt);
}

int runPatcherOn(const std::string& gamePath) {
    return patchRun(ExecutableLocation{gamePath, extractFileName(gamePath, kPathSeparators)});
}
