#include <gtest/gtest.h>

#include <filesystem>

#include "files/game_files.h"
#include "files/patch_writer.h"
#include "temp_folder.h"

TEST(PatchWriter, WritesOnlyFourBytesThatFitInsideTheFile) {
    TempFolder folder;
    const std::string game = folder.file(kExecutableName);
    const PatchValue value{0x0A, 0xD7, 0xA3, 0x3F};
    const std::string original = patternBytes(1000);

    struct Case {
        std::int32_t offset;
        const char* err; // empty when written
    };
    for (const Case c : {Case{0, ""}, Case{500, ""}, Case{996, ""}, Case{997, "offset 997 is past the end of "},
                         Case{1000, "offset 1000 is past the end of "}, Case{5000, "offset 5000 is past the end of "},
                         Case{-1, "offset -1 is before the start of "}}) {
        SCOPED_TRACE(c.offset);
        writeBytes(game, original);
        std::string err;
        const bool written = writePatch(game, c.offset, value, &err);
        EXPECT_EQ(written, *c.err == '\0');
        EXPECT_EQ(err, written ? "" : c.err + game);
        std::string expected = original;
        if (written) {
            expected.replace(static_cast<std::size_t>(c.offset), 4, "\x0A\xD7\xA3\x3F");
        }
        EXPECT_EQ(readBytes(game), expected);
    }

    // A missing file is reported with the reason and not created.
    const std::string missing = folder.file("missing.exe");
    std::string err;
    EXPECT_FALSE(writePatch(missing, 0, value, &err));
    EXPECT_NE(reasonAfter(err, "could not write " + missing + ": "), "");
    EXPECT_FALSE(std::filesystem::exists(missing));
}
