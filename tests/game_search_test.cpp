#include <gtest/gtest.h>

#include "files/game_search.h"

TEST(GameSearch, LibraryFoldersOfSteam) {
    const char* const current = R"(// written by Steam
"libraryfolders"
{
	"0"
	{
		"path"		"/home/deck/.local/share/Steam"
		"label"		""
		"apps"
		{
			"228980"		"1234"
		}
	}
	"1"
	{
		"path"		"/run/media/deck/SD \"card\"\\Games"
		"contentid"		"42"
	}
})";
    EXPECT_EQ(libraryFoldersIn(current),
              (std::vector<std::string>{"/home/deck/.local/share/Steam", "/run/media/deck/SD \"card\"\\Games"}));

    // The older form, with bare tokens and numbered keys; keys in any case.
    const char* const older = "LibraryFolders { \"TimeNextStatsReport\" \"1600000000\" \"1\" \"/mnt/games\" "
                              "\"10\" /mnt/more \"2\" { \"Path\" \"/mnt/sd\" } }";
    EXPECT_EQ(libraryFoldersIn(older), (std::vector<std::string>{"/mnt/games", "/mnt/more", "/mnt/sd"}));

    for (const char* broken : {"", "\"libraryfolders\" { \"0\" { \"path\" \"/x\" }", "\"a\" { \"path\" \"/x }",
                               "\"a\" } {", "\"a\" { \"path\" }", "\"a\" \"b\" \"path\""}) {
        EXPECT_TRUE(libraryFoldersIn(broken).empty()) << broken;
    }
}
