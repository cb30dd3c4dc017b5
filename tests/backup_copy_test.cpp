#include <gtest/gtest.h>

#include <filesystem>

#include "files/backup_copy.h"
#include "files/game_files.h"
#include "temp_folder.h"

TEST(BackupCopy, CopiesEveryByteAndReplacesAnEarlierBackup) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    for (const std::size_t size : {0U, 1U, 511U, 512U, 513U, 1U << 20U}) {
        SCOPED_TRACE(size);
        writeBytes(game, patternBytes(size) + std::string(size % 3, 'x'));
        Backup backup;
        std::string err;
        EXPECT_TRUE(backupExecutable(game, kDefaultPatchOffset, &backup, &err)) << err;
        EXPECT_EQ(backup.path, game + ".backup");
        EXPECT_EQ(backup.note, "");
        EXPECT_EQ(readBytes(backup.path), readBytes(game));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

TEST(BackupCopy, FailureLeavesEverythingAsItWas) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);

    // Missing executable: nothing is created, and the reason is given.
    Backup backup;
    std::string err;
    EXPECT_FALSE(backupExecutable(game, kDefaultPatchOffset, &backup, &err));
    EXPECT_NE(reasonAfter(err, "could not copy " + game + " to " + game + ".backup: "), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));

    // A folder where the backup should go: the game file is untouched and
    // the folder and its contents survive.
    writeBytes(game, patternBytes(2000));
    std::filesystem::create_directory(game + ".backup");
    writeBytes(game + ".backup/keep", "keep");
    EXPECT_FALSE(backupExecutable(game, kDefaultPatchOffset, &backup, &err));
    EXPECT_EQ(readBytes(game), patternBytes(2000));
    EXPECT_EQ(readBytes(game + ".backup/keep"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

TEST(BackupCopy, KeepsABackupOfTheGameBeforeItsPatchAndNothingElse) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    const std::string backupPath = game + ".backup";
    const std::int32_t offset = 1000;
    const std::string original = patternBytes(200000);
    std::string patched = original;
    patched.replace(offset, 4, "\x39\x8E\xE3\x3F");

    // Where the backup differs from the game (position, or what stands at
    // the backup's name), and whether it is then kept.
    struct Case {
        const char* name;
        std::int64_t differsAt; // -1: nowhere
        bool kept;
    };
    for (const Case c :
         {Case{"the game before its patch", offset, true}, Case{"the last patched byte", offset + 3, true},
          Case{"the same game", -1, true}, Case{"the byte before the patch", offset - 1, false},
          Case{"the byte after the patch", offset + 4, false}, Case{"the first byte", 0, false},
          Case{"past the first block", 70000, false}, Case{"the last byte", 199999, false}}) {
        SCOPED_TRACE(c.name);
        std::string earlier = original;
        if (c.differsAt >= 0) {
            earlier[static_cast<std::size_t>(c.differsAt)] ^= 0x55;
        }
        writeBytes(backupPath, earlier);
        writeBytes(game, c.differsAt == offset || c.differsAt == offset + 3 ? patched : original);
        Backup backup;
        std::string err;
        ASSERT_TRUE(backupExecutable(game, offset, &backup, &err)) << err;
        EXPECT_EQ(readBytes(backupPath), c.kept ? earlier : readBytes(game));
    }

    // A backup of another size is replaced.
    writeBytes(backupPath, original + "x");
    Backup backup;
    std::string err;
    ASSERT_TRUE(backupExecutable(game, offset, &backup, &err)) << err;
    EXPECT_EQ(readBytes(backupPath), original);
}
