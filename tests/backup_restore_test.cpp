#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "files/backup_restore.h"
#include "files/game_files.h"
#include "platform/file_system.h"
#include "temp_folder.h"

// What a restore does with what it finds: a backup of the same game puts
// the game back (made anew when missing), an equal game is left alone, and
// everything else is refused, with the reason, and changes nothing.
TEST(BackupRestore, RestoresTheSameGameAndRefusesEverythingElse) {
    namespace fs = std::filesystem;
    const std::string original = patternBytes(100000);
    std::string patched = original;
    patched.replace(5000, 4, "\x39\x8E\xE3\x3F");
    std::string updated = original;
    for (std::size_t at = 0; at < 65; ++at) {
        updated[at * 1000] = static_cast<char>(updated[at * 1000] ^ 1);
    }
    using SetUp = std::function<void(const std::string& game, const std::string& backup)>;
    const auto files = [](std::string game, std::string backup) -> SetUp {
        return [=](const std::string& gamePath, const std::string& backupPath) {
            if (!game.empty()) {
                writeBytes(gamePath, game);
            }
            if (!backup.empty()) {
                writeBytes(backupPath, backup);
            }
        };
    };
    struct Case {
        const char* name;
        SetUp setUp;
        const char* refusal; // the reason after the paths, or "*" for the system's; null when restored
        bool needsLinks;     // Wine shows a program links as the files they point to
        std::string gameName = kExecutableName;
    };
    const Case cases[] = {
        {"a patched game", files(patched, original), nullptr, false},
        {"no game", files("", original), nullptr, false},
        {"an equal game", files(original, original), nullptr, false},
        {"no backup", files(patched, ""), "*", false},
        {"a folder", [&](auto& game, auto& backup) { writeBytes(game, patched), fs::create_directory(backup); }, "*",
         false},
        {"an updated game", files(updated, original),
         " was made (a game update?); Steam's \"Verify integrity of game files\" restores the game", false},
        {"a link",
         [&](auto& game, auto& backup) {
             files(patched, "")(game, backup);
             writeBytes(game + ".copy", original);
             fs::create_symlink(game + ".copy", backup);
         },
         "Is a symbolic link", true},
        {"a second name",
         [&](auto& game, auto& backup) { writeBytes(game, patched), fs::create_hard_link(game, backup); },
         " itself under a second name, not a backup", true},
        // Through a link the patch wrote the file it leads to: that one is
        // put back, and the link stays.
        {"a linked game",
         [&](auto& game, auto& backup) {
             fs::create_directory(fs::path(game).parent_path() / "real");
             writeBytes((fs::path(game).parent_path() / "real" / kExecutableName).string(), patched);
             fs::create_symlink(fs::path("real") / kExecutableName, game);
             writeBytes(backup, original);
         },
         nullptr, true},
        // The game keeps its own permission bits, not the backup's.
        {"a read-only backup",
         [&](auto& game, auto& backup) {
             files(patched, original)(game, backup);
             fs::permissions(backup, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
             fs::permissions(game, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
         },
         nullptr, false},
        // What the link leads to is no game: the link is left as it is.
        {"a link to nothing",
         [&](auto& game, auto& backup) { writeBytes(backup, original), fs::create_symlink("gone/gorv.exe", game); },
         "could not open ", true},
        {"a link to a folder",
         [&](auto& game, auto& backup) {
             writeBytes(backup, original);
             fs::create_directory(fs::path(game).parent_path() / "real");
             fs::create_symlink("real", game);
         },
         "could not open ", true},
        {"a link to the backup",
         [&](auto& game, auto& backup) {
             writeBytes(backup, original), fs::create_symlink(kExecutableName + ".backup", game);
         },
         ", a file this tool made: only the game itself is patched or restored", true},
        // A second name of the game is the same file: it is restored too.
        {"a game with two names",
         [&](auto& game, auto& backup) {
             files(patched, original)(game, backup);
             fs::create_hard_link(game, game + ".second");
         },
         nullptr, true},
        // Only the game's own backup: a save beside its copy is no game.
        {"another file's backup", files(patched, original),
         " is not gorv.exe.backup: only the backup of gorv.exe is restored", false, "notes.txt"},
    };
    for (const Case& c : cases) {
        if (c.needsLinks && kPathSeparator == '\\') {
            continue;
        }
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string game = folder.file(c.gameName);
        const std::string backup = game + ".backup";
        c.setUp(game, backup);
        const std::string gameBefore = readBytes(game);
        const std::string backupBefore = fs::is_regular_file(backup) ? readBytes(backup) : "";
        const auto entriesBefore = std::distance(fs::directory_iterator(folder.path), {});
        const bool linked = fs::is_symlink(game);
        const fs::perms permissions = fs::status(fs::exists(game) ? game : backup).permissions();

        RestoreOutcome outcome = RestoreOutcome::Restored;
        std::string note;
        std::string err;
        std::int64_t more = 0;
        const bool restored = restoreFromBackup(backup, 0, &outcome, &more, &note, &err);
        ASSERT_EQ(restored, c.refusal == nullptr) << err;
        EXPECT_EQ(fs::is_regular_file(backup) ? readBytes(backup) : "", backupBefore);
        if (restored) {
            EXPECT_EQ(readBytes(game), original);
            EXPECT_EQ(outcome, gameBefore == original ? RestoreOutcome::AlreadyEqual : RestoreOutcome::Restored);
            EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), {}),
                      entriesBefore + (gameBefore.empty() ? 1 : 0))
                << "no file left";
            EXPECT_EQ(fs::is_symlink(game), linked);
            if (fs::exists(game + ".second")) {
                EXPECT_EQ(readBytes(game + ".second"), original);
            }
            if (kPathSeparator == '/') {
                EXPECT_EQ(fs::status(game).permissions(), permissions);
            }
            continue;
        }
        EXPECT_EQ(readBytes(game), gameBefore);
        EXPECT_EQ(fs::is_symlink(game), linked);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder.path), {}), entriesBefore);
        const std::string reason = reasonAfter(err, "could not read the backup " + backup + ": ");
        if (std::string(c.refusal) == "*") {
            EXPECT_NE(reason, "") << err;
        } else if (!reason.empty()) {
            EXPECT_EQ(reason, c.refusal);
        } else {
            EXPECT_NE(err.find(c.refusal), std::string::npos) << err;
            EXPECT_NE(err.find(game), std::string::npos) << err;
        }
    }
}
