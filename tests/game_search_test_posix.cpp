#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "files/game_search.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

// Whatever stands at Steam's list of libraries, the search ends, lists
// each game once and in the same order on every run.
TEST(GameSearch, FindsEachGameOnceInOrderWhateverSteamsListIs) {
    TempFolder home;
    const fs::path steam = home.path / ".local/share/Steam/steamapps";
    const fs::path library = home.path / "sd card";
    const fs::path vdf = steam / "libraryfolders.vdf";
    fs::create_directories(steam);
    for (const char* game : {"Games/Zeta", "Games/Alpha", "Games/Mid", "sd card/steamapps/common/Gorv"}) {
        fs::create_directories(home.path / game);
        writeBytes((home.path / game / "gorv.exe").string(), "MZ");
    }
    const std::vector<std::string> inGames{home.file("Games/Alpha/gorv.exe"), home.file("Games/Mid/gorv.exe"),
                                           home.file("Games/Zeta/gorv.exe")};
    std::vector<std::string> withLibrary{home.file("sd card/steamapps/common/Gorv/gorv.exe")};
    withLibrary.insert(withLibrary.end(), inGames.begin(), inGames.end());

    // The same library, listed again and again, is searched once.
    std::string listed = "\"libraryfolders\" {";
    for (int i = 0; i < 1000; ++i) {
        listed += " \"" + std::to_string(i) + "\" { \"path\" \"" + library.string() + "\" }";
    }
    writeBytes(vdf.string(), listed + " }");
    EXPECT_EQ(findGameCopies(home.path.string(), "gorv.exe"), withLibrary);

    // A list too large to be Steam's is not read.
    writeBytes(vdf.string(), listed + std::string(std::size_t{1} << 20, ' ') + "}");
    EXPECT_EQ(findGameCopies(home.path.string(), "gorv.exe"), inGames);

    // A folder, or a pipe that nobody writes, gives no libraries and no wait.
    fs::remove(vdf);
    fs::create_directory(vdf);
    EXPECT_EQ(findGameCopies(home.path.string(), "gorv.exe"), inGames);
    fs::remove(vdf);
    ASSERT_EQ(mkfifo(vdf.c_str(), 0600), 0);
    EXPECT_EQ(findGameCopies(home.path.string(), "gorv.exe"), inGames);
}
