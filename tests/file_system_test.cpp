#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "temp_folder.h"

// The folder whose sync makes a new name durable: for a file at the root,
// the root itself, never an empty path.
TEST(FileSystem, FolderOfAPath) {
    const std::string s(1, kPathSeparator);
    EXPECT_EQ(folderOf("gorv.exe"), ".");
    EXPECT_EQ(folderOf("game" + s + "gorv.exe"), "game");
    EXPECT_EQ(folderOf(s + "games" + s + "gorv" + s + "gorv.exe"), s + "games" + s + "gorv");
    EXPECT_EQ(folderOf(s + "gorv.exe"), s);
    if (s == "\\") {
        // A drive's root is a folder of its own; "C:gorv.exe" is in C:'s
        // current folder.
        EXPECT_EQ(folderOf("C:\\gorv.exe"), "C:\\");
        EXPECT_EQ(folderOf("C:/gorv.exe"), "C:/");
        EXPECT_EQ(folderOf("C:gorv.exe"), "C:");
    }
}

// A NUL inside a path would end it early for the system, which would then
// act on another file ("victim" for "victim\0/gorv.exe"): every call that
// takes a path refuses it and leaves that file alone.
TEST(FileSystem, RefusesAPathWithANulInIt) {
    TempFolder folder;
    const std::string victim = folder.file("victim");
    writeBytes(victim, "keep");
    writeBytes(victim + ".tmp", "keep");
    const std::string path = victim + std::string(1, '\0') + kPathSeparator + "gorv.exe";
    const std::string expected = "The path holds a NUL character";
    File file;
    Refusal refusal = Refusal::Other;
    std::string bytes;
    bool whole = false;
    std::string note;
    std::string err;
    const auto refused = [&](bool result) {
        const bool ok = !result && err == expected;
        err.clear();
        return ok;
    };
    EXPECT_TRUE(refused(openForReading(path, &file, &err)));
    EXPECT_TRUE(refused(openRegularFileForReading(path, true, &file, &err)));
    EXPECT_TRUE(refused(readSmallFile(path, 10, &bytes, &whole, &err)));
    EXPECT_TRUE(refused(openForLocking(path, &file, &refusal, &err)));
    EXPECT_TRUE(refused(openForUpdate(path, &file, &refusal, &err)));
    File like;
    ASSERT_TRUE(openForReading(victim, &like, &err)) << err;
    EXPECT_TRUE(refused(createNewFile(path + ".backup", like.get(), &file, &err)));
    EXPECT_TRUE(refused(removeFile(path, &err)));
    EXPECT_TRUE(refused(replaceFile(path, victim + ".new", &note, &err)));
    EXPECT_TRUE(refused(replaceFile(victim + ".tmp", path, &note, &err)));
    EXPECT_FALSE(isRegularFile(path));
    like.reset();
    EXPECT_EQ(readBytes(victim), "keep");
    EXPECT_EQ(readBytes(victim + ".tmp"), "keep");
}

// A small file costs what it holds, not the most that may be read.
TEST(FileSystem, ReadsASmallFileInMemoryOfItsSize) {
    TempFolder folder;
    const std::string path = folder.file("installed.json");
    writeBytes(path, "{}");
    std::string bytes;
    bool whole = false;
    std::string err;
    ASSERT_TRUE(readSmallFile(path, std::size_t{1} << 20, &bytes, &whole, &err)) << err;
    EXPECT_EQ(bytes, "{}");
    EXPECT_TRUE(whole);
    EXPECT_LT(bytes.capacity(), std::size_t{1} << 16);
    writeBytes(path, "0123456789");
    ASSERT_TRUE(readSmallFile(path, 4, &bytes, &whole, &err)) << err;
    EXPECT_EQ(bytes, "0123");
    EXPECT_FALSE(whole);
}
