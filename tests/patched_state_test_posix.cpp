#include <gtest/gtest.h>

#include <cstdlib>

#include "files/patched_state.h"
#include "temp_folder.h"

namespace {

// The tool's state kept in a folder of the test's own.
struct StateFolder {
    StateFolder() {
        const char* const before = std::getenv("XDG_STATE_HOME");
        saved = before != nullptr ? before : "";
        had = before != nullptr;
        setenv("XDG_STATE_HOME", folder.path.c_str(), 1);
    }
    ~StateFolder() {
        if (had) {
            setenv("XDG_STATE_HOME", saved.c_str(), 1);
        } else {
            unsetenv("XDG_STATE_HOME");
        }
    }
    TempFolder folder;
    std::string saved;
    bool had = false;
};

} // namespace

// After an update moved the value, the update file names the new place
// while a kept backup is still the earlier version: the note says where
// that backup holds it, for that very backup only.
TEST(PatchedState, RemembersWhereAKeptBackupHoldsTheValue) {
    StateFolder state;
    TempFolder games;
    const std::string game = games.file("gorv.exe");
    const std::string backup = games.file("gorv.exe.backup");
    writeBytes(game, patternBytes(4096));
    writeBytes(backup, patternBytes(4000));

    rememberPatched(game, 2000, backup, 1500);
    EXPECT_TRUE(isAsPatched(game, 2000));
    EXPECT_EQ(earlierOffsetOf(game, backup, 2000), 1500);
    EXPECT_EQ(earlierOffsetOf(game, backup, 2004), 2004); // another update file
    writeBytes(game, patternBytes(5000));                 // the next update
    EXPECT_FALSE(isAsPatched(game, 2000));
    EXPECT_EQ(earlierOffsetOf(game, backup, 2000), 1500);
    writeBytes(backup, patternBytes(5000)); // a backup copied anew
    EXPECT_EQ(earlierOffsetOf(game, backup, 2000), 2000);

    rememberPatched(game, 2000, backup, -1);
    EXPECT_EQ(earlierOffsetOf(game, backup, 2000), 2000);
}

// A state file edited by hand, or by another version, is no note at all.
TEST(PatchedState, ReadsAnyStateFileAsNoNote) {
    StateFolder state;
    TempFolder games;
    const std::string game = games.file("gorv.exe");
    writeBytes(game, patternBytes(4096));
    std::filesystem::create_directories(state.folder.path / "gorv-patcher");
    for (const char* const text : {"{}", "[5, null]", R"([{"game": 5, "offset": "x", "stamp": []}])",
                                   R"([{"game": "", "offset": 2000, "earlier": 7}])", "[{"}) {
        writeBytes(state.folder.file("gorv-patcher/patched.json"), text);
        EXPECT_FALSE(isAsPatched(game, 2000)) << text;
        EXPECT_EQ(earlierOffsetOf(game, game + ".backup", 2000), 2000) << text;
        rememberPatched(game, 2000);
        EXPECT_TRUE(isAsPatched(game, 2000)) << text;
    }
}
