#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

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
        EXPECT_TRUE(backupExecutable(game, &backup, &err)) << err;
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
    EXPECT_FALSE(backupExecutable(game, &backup, &err));
    EXPECT_NE(reasonAfter(err, "could not copy " + game + " to " + game + ".backup: "), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));

    // A folder where the backup should go: the game file is untouched and
    // the folder and its contents survive.
    writeBytes(game, patternBytes(2000));
    std::filesystem::create_directory(game + ".backup");
    writeBytes(game + ".backup/keep", "keep");
    EXPECT_FALSE(backupExecutable(game, &backup, &err));
    EXPECT_EQ(readBytes(game), patternBytes(2000));
    EXPECT_EQ(readBytes(game + ".backup/keep"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

// A backup is kept when it holds the same game: the same size, and at most
// 64 bytes changed anywhere (patches at this or other offsets, a small hex
// edit). Anything else, a game update above all, gets a new backup.
TEST(BackupCopy, KeepsABackupOfTheSameGameAndNothingElse) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    const std::string backupPath = game + ".backup";
    const std::string original = patternBytes(200000);

    struct Case {
        const char* name;
        std::vector<std::size_t> changed; // positions where the game differs from its backup
        bool kept;
    };
    const auto run = [](std::size_t from, std::size_t count, std::size_t step) {
        std::vector<std::size_t> positions;
        for (std::size_t i = 0; i < count; ++i) {
            positions.push_back(from + i * step);
        }
        return positions;
    };
    std::vector<std::size_t> acrossBlocks = run(0, 32, 1);
    for (const std::size_t at : run(199968, 32, 1)) {
        acrossBlocks.push_back(at);
    }
    std::vector<std::size_t> oneMore = acrossBlocks;
    oneMore.push_back(70000);

    for (const Case& c :
         {Case{"the same bytes", {}, true}, Case{"this run's patch", run(1000, 4, 1), true},
          Case{"patches at two offsets", {1000, 1001, 1002, 1003, 150000, 150001, 150002}, true},
          Case{"a hex edit of 64 bytes", run(5, 64, 3001), true}, Case{"64 bytes at both ends", acrossBlocks, true},
          Case{"65 bytes", oneMore, false}, Case{"thousands of bytes", run(100, 5000, 7), false}}) {
        SCOPED_TRACE(c.name);
        std::string earlier = original;
        for (const std::size_t at : c.changed) {
            earlier[at] = static_cast<char>(earlier[at] ^ 0x55);
        }
        writeBytes(backupPath, earlier);
        writeBytes(game, original);
        Backup backup;
        std::string err;
        ASSERT_TRUE(backupExecutable(game, &backup, &err)) << err;
        EXPECT_EQ(readBytes(backupPath), c.kept ? earlier : original);
    }

    // A backup of another size is replaced, even one byte longer.
    writeBytes(backupPath, original + "x");
    Backup backup;
    std::string err;
    ASSERT_TRUE(backupExecutable(game, &backup, &err)) << err;
    EXPECT_EQ(readBytes(backupPath), original);
}

// Where the game differs from its backup, as a restore writes it back: a
// value whose middle byte happens to be alike goes back in one piece, and
// a run across the end of a compared block is found whole.
TEST(BackupCopy, FindsTheRunsInWhichTheGameDiffers) {
    TempFolder folder;
    const std::string backup = patternBytes(200000);
    std::string game = backup;
    game[10] = 'a';
    game[11] = 'b';
    game[13] = 'd'; // byte 12 is alike
    game[65535] = 'y';
    game[65536] = 'z';
    writeBytes(folder.file("game"), game);
    writeBytes(folder.file("backup"), backup);
    File gameFile;
    File backupFile;
    std::string err;
    ASSERT_TRUE(openForReading(folder.file("game"), &gameFile, &err)) << err;
    ASSERT_TRUE(openForReading(folder.file("backup"), &backupFile, &err)) << err;
    BackupMatch match = BackupMatch::OtherGame;
    std::vector<ChangedRun> runs;
    ASSERT_TRUE(compareWithBackup(gameFile.get(), backupFile.get(), &match, &err, &runs)) << err;
    EXPECT_EQ(match, BackupMatch::SameGame);
    ASSERT_EQ(runs.size(), 2U);
    EXPECT_EQ(runs[0].position, 10);
    EXPECT_EQ(runs[0].bytes, backup.substr(10, 4));
    EXPECT_EQ(runs[1].position, 65535);
    EXPECT_EQ(runs[1].bytes, backup.substr(65535, 2));
}
