#include <gtest/gtest.h>

#include "search/steam_library_file.h"

// The library lists in each form Steam has written, and what is no list.
TEST(SteamLibraryFile, LibraryFoldersInEveryForm) {
    using Folders = std::vector<std::string>;
    // Today's form: a block per library with a "path" key.
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
              (Folders{"/home/deck/.local/share/Steam", "/run/media/deck/SD \"card\"\\Games"}));

    // The older forms: numbered keys with the path as value, bare tokens,
    // keys in any case, and an empty entry that real files hold.
    const char* const older = "LibraryFolders { \"TimeNextStatsReport\" \"1600000000\" \"1\" \"/mnt/games\" "
                              "\"10\" /mnt/more \"2\" { \"Path\" \"/mnt/sd\" } \"3\" \"\" \"4\" { \"PATH\" \"\" } }";
    EXPECT_EQ(libraryFoldersIn(older), (Folders{"/mnt/games", "/mnt/more", "/mnt/sd"}));

    // Saved by a Windows editor: a byte-order mark and CRLF lines; Windows
    // paths with doubled backslashes.
    EXPECT_EQ(libraryFoldersIn("\xEF\xBB\xBF\"libraryfolders\"\r\n{\r\n\t\"1\"\r\n\t{\r\n\t\t\"path\"\t\t"
                               "\"D:\\\\SteamLibrary\"\r\n\t}\r\n}\r\n"),
              (Folders{"D:\\SteamLibrary"}));

    // Comments with an odd number of words, and quotes or braces in them,
    // are no keys or values.
    EXPECT_EQ(libraryFoldersIn("// one \"two\" three\n\"libraryfolders\" { // a } brace\n \"0\" { // \"path\" \"/no\"\n"
                               "\"path\" \"/yes\" } }"),
              (Folders{"/yes"}));

    // A bare value that ends the file; a value with a NUL, which is no path.
    EXPECT_EQ(libraryFoldersIn("\"path\" /lib"), (Folders{"/lib"}));
    EXPECT_EQ(libraryFoldersIn(std::string("\"path\" \"/a\0b\" \"path\" /c", 23)), (Folders{"/c"}));

    for (const char* broken : {"", "\"libraryfolders\" { \"0\" { \"path\" \"/x\" }", "\"a\" { \"path\" \"/x }",
                               "\"a\" } {", "\"a\" { \"path\" }", "\"a\" \"b\" \"path\""}) {
        EXPECT_TRUE(libraryFoldersIn(broken).empty()) << broken;
    }
}
