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
        std::string backupPath;
        std::string err;
        EXPECT_TRUE(backupExecutable(game, &backupPath, &err)) << err;
        EXPECT_EQ(backupPath, game + ".backup");
        EXPECT_EQ(readBytes(backupPath), readBytes(game));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

TEST(BackupCopy, FailureLeavesEverythingAsItWas) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);

    // Missing executable: nothing is created, and the reason is given.
    std::string backupPath;
    std::string err;
    EXPECT_FALSE(backupExecutable(game, &backupPath, &err));
    EXPECT_NE(reasonAfter(err, "could not copy " + game + " to " + game + ".backup: "), "");
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));

    // A folder where the backup should go: the game file is untouched and
    // the folder and its contents survive.
    writeBytes(game, patternBytes(2000));
    std::filesystem::create_directory(game + ".backup");
    writeBytes(game + ".backup/keep", "keep");
    EXPECT_FALSE(backupExecutable(game, &backupPath, &err));
    EXPECT_EQ(readBytes(game), patternBytes(2000));
    EXPECT_EQ(readBytes(game + ".backup/keep"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}
