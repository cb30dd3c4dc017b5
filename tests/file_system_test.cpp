#include <gtest/gtest.h>

#include "platform/file_system.h"

// The folder whose sync makes a new name durable: for a file at the root,
// the root itself, never an empty path.
TEST(FileSystem, FolderOfAPath) {
    const std::string s(1, kPathSeparator);
    EXPECT_EQ(folderOf("gorv.exe"), ".");
    EXPECT_EQ(folderOf("game" + s + "gorv.exe"), "game");
    EXPECT_EQ(folderOf(s + "games" + s + "gorv" + s + "gorv.exe"), s + "games" + s + "gorv");
    EXPECT_EQ(folderOf(s + "gorv.exe"), s);
}
