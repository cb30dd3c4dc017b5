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

    std::string backupPath;
    std::string err;
    const bool made = backupExecutable(game, &backupPath, &err);

    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedSignal);

    EXPECT_FALSE(made);
    EXPECT_EQ(err, "could not copy " + game + " to " + game + ".backup: " + std::strerror(EFBIG));
    EXPECT_EQ(readBytes(game + ".backup"), "the good copy");
    EXPECT_EQ(readBytes(game), patternBytes(8192));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}
