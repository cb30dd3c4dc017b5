#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "files/game_files.h"
#include "temp_folder.h"

TEST(ExecutableLocator, FileNameIsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(extractFileName("C:\\Games\\Gorv\\gorv.exe"), "gorv.exe");
    EXPECT_EQ(extractFileName("C:\\Games\\Gorv\\GORV.EXE"), "GORV.EXE");
    EXPECT_EQ(extractFileName("game/gorv.exe"), "gorv.exe");
    EXPECT_EQ(extractFileName("C:\\Games\\"), "");
    EXPECT_EQ(extractFileName("gorv.exe"), "gorv.exe");
    EXPECT_EQ(extractFileName(""), "");
}

TEST(ExecutableLocator, DialogErrorNames) {
    EXPECT_EQ(commonDialogErrorText(0), "");
    EXPECT_EQ(commonDialogErrorText(0x0001), "CDERR_STRUCTSIZE\n");
    EXPECT_EQ(commonDialogErrorText(0x000B), "CDERR_NOHOOK\n");
    EXPECT_EQ(commonDialogErrorText(0x3003), "FNERR_BUFFERTOOSMALL\n");
    EXPECT_EQ(commonDialogErrorText(0xFFFF), "CDERR_DIALOGFAILURE\n");
    EXPECT_EQ(commonDialogErrorText(0x000C), "");
    EXPECT_EQ(commonDialogErrorText(0x3004), "");
}

TEST(OffsetTable, LinesConvertLikeAtoi) {
    EXPECT_EQ(parseOffsetLine("3906535"), 3906535);
    EXPECT_EQ(parseOffsetLine(" 320abc"), 320);
    EXPECT_EQ(parseOffsetLine("320\r"), 320);
    EXPECT_EQ(parseOffsetLine("-5"), -5);
    EXPECT_EQ(parseOffsetLine("0x3B9BE7"), 0);
    EXPECT_EQ(parseOffsetLine("\xEF\xBB\xBF"
                              "320"),
              0);
    EXPECT_EQ(parseOffsetLine(""), 0);
    EXPECT_EQ(parseOffsetLine("99999999999999999999"), 2147483647);
    EXPECT_EQ(parseOffsetLine("-99999999999999999999"), -2147483647 - 1);

    std::istringstream twelveLines("1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n");
    EXPECT_EQ(readOffsetTable(twelveLines), (OffsetTable{1, 2, 3, 4, 5, 6, 7, 8}));
    std::istringstream shortFile("320");
    EXPECT_EQ(readOffsetTable(shortFile), (OffsetTable{320, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(BackupCopy, CopiesEveryByteAndReplacesAnEarlierBackup) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    for (const std::size_t size : {0U, 1U, 511U, 512U, 513U, 1U << 20U}) {
        SCOPED_TRACE(size);
        writeBytes(game, patternBytes(size) + std::string(size % 3, 'x'));
        const Backup backup = backupExecutable(game);
        EXPECT_TRUE(backup.made);
        EXPECT_EQ(backup.path, game + ".backup");
        EXPECT_EQ(readBytes(backup.path), readBytes(game));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

TEST(BackupCopy, FailureLeavesEverythingAsItWas) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);

    // Missing executable: nothing is created.
    EXPECT_FALSE(backupExecutable(game).made);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path));

    // A folder where the backup should go: the game file is untouched and
    // the folder and its contents survive.
    writeBytes(game, patternBytes(2000));
    std::filesystem::create_directory(game + ".backup");
    writeBytes(game + ".backup/keep", "keep");
    const Backup backup = backupExecutable(game);
    EXPECT_FALSE(backup.made);
    EXPECT_EQ(backup.path, game + ".backup");
    EXPECT_EQ(readBytes(game), patternBytes(2000));
    EXPECT_EQ(readBytes(game + ".backup/keep"), "keep");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 2) << "no temporary file left";
}

TEST(PatchWriter, WritesOnlyFourBytesThatFitInsideTheFile) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    const PatchValue value{0x0A, 0xD7, 0xA3, 0x3F};
    const std::string original = patternBytes(1000);

    struct Case {
        std::int32_t offset;
        PatchOutcome outcome;
    };
    for (const Case c :
         {Case{0, PatchOutcome::Written}, Case{500, PatchOutcome::Written}, Case{996, PatchOutcome::Written},
          Case{997, PatchOutcome::PastEnd}, Case{1000, PatchOutcome::PastEnd}, Case{5000, PatchOutcome::PastEnd},
          Case{-1, PatchOutcome::WriteFailed}}) {
        SCOPED_TRACE(c.offset);
        writeBytes(game, original);
        EXPECT_EQ(writePatch(game, c.offset, value), c.outcome);
        std::string expected = original;
        if (c.outcome == PatchOutcome::Written) {
            expected.replace(static_cast<std::size_t>(c.offset), 4, "\x0A\xD7\xA3\x3F");
        }
        EXPECT_EQ(readBytes(game), expected);
    }

    // A missing file is reported and not created.
    const std::string missing = folder.file("missing.exe");
    EXPECT_EQ(writePatch(missing, 0, value), PatchOutcome::WriteFailed);
    EXPECT_FALSE(std::filesystem::exists(missing));
}
