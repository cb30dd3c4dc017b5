#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "files/backup_copy.h"
#include "files/game_files.h"
#include "temp_folder.h"

// A copy that fails part way (here: the file size limit, as on a full disk)
// must not cost the last good backup.
TEST(BackupCopy, CopyFailingPartWayKeepsTheEarlierBackup) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    writeBytes(game, patternBytes(8192));
    writeBytes(game + ".backup", "the good copy");

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedSignal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);

    Backup backup;
    std::string err;
    const bool made = backupExecutable(game, &backup, &err);

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_FALSE(made);
    EXPECT_EQ(err, "could not copy " + game + " to " + game + ".backup: " + std::strerror(EFBIG));
    EXPECT_EQ(readBytes(game + ".backup"), "the good copy");
    EXPECT_EQ(readBytes(game), patternBytes(8192));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

// What stands at the backup's name but is no backup of its own (a link to
// a copy, or the game itself under a second name) is replaced by a file.
TEST(BackupCopy, ALinkIsNeverTakenForABackup) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    const std::string backupPath = game + ".backup";
    writeBytes(game, patternBytes(5000));
    for (const bool symbolic : {true, false}) {
        SCOPED_TRACE(symbolic ? "symlink" : "hardlink");
        std::filesystem::remove(backupPath);
        if (symbolic) {
            writeBytes(folder.file("copy"), patternBytes(5000));
            std::filesystem::create_symlink(folder.file("copy"), backupPath);
        } else {
            std::filesystem::create_hard_link(game, backupPath);
        }
        Backup backup;
        std::string err;
        ASSERT_TRUE(backupExecutable(game, &backup, &err)) << err;
        EXPECT_FALSE(std::filesystem::is_symlink(backupPath));
        EXPECT_EQ(std::filesystem::hard_link_count(game), 1U);
        EXPECT_EQ(readBytes(backupPath), patternBytes(5000));
    }
}
