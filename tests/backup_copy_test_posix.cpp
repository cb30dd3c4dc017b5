#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <filesystem>

#include "files/backup_copy.h"
#include "files/backup_restore.h"
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

// A restore puts the bytes back into the game itself: its owner (a restore
// run as root), its extended attributes (ACLs among them) and its other
// names stay as they were.
TEST(BackupRestore, KeepsWhatTheGameWas) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    std::string patched = patternBytes(100000);
    patched.replace(5000, 4, "\x39\x8E\xE3\x3F");
    writeBytes(game, patched);
    writeBytes(game + ".backup", patternBytes(100000));
    ASSERT_EQ(::setxattr(game.c_str(), "user.gorv", "kept", 4, 0), 0) << std::strerror(errno);
    const bool asRoot = ::geteuid() == 0;
    if (asRoot) {
        ASSERT_EQ(::chown(game.c_str(), 4242, 4343), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(game.c_str(), &before), 0);

    RestoreOutcome outcome = RestoreOutcome::AlreadyEqual;
    std::string note;
    std::string err;
    std::int64_t more = 0;
    ASSERT_TRUE(restoreFromBackup(game + ".backup", 0, &outcome, &more, &note, &err)) << err;
    EXPECT_EQ(readBytes(game), patternBytes(100000));
    struct stat after {};
    ASSERT_EQ(::stat(game.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    char value[8] = {};
    EXPECT_EQ(::getxattr(game.c_str(), "user.gorv", value, sizeof value), 4);
    EXPECT_STREQ(value, "kept");
}

// Only what the tool makes is cleared away: beside a linked game, the
// files of the folder it leads to are the player's.
TEST(BackupCopy, RemovesOnlyItsOwnLeftovers) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path / "real");
    writeBytes(folder.file("real/data.bin"), "game");
    writeBytes(folder.file("real/data.bin.tmp"), "the player's");
    std::filesystem::create_symlink("real/data.bin", folder.file(kExecutableName));
    writeBytes(folder.file(kExecutableName + ".backup.tmp"), "a killed run's copy");
    removeLeftovers(folder.file(kExecutableName));
    EXPECT_EQ(readBytes(folder.file("real/data.bin.tmp")), "the player's");
    EXPECT_FALSE(std::filesystem::exists(folder.file(kExecutableName + ".backup.tmp")));
}
