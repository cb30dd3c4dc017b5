#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "search/game_places.h"
#include "temp_folder.h"

namespace fs = std::filesystem;

// Whatever stands at Steam's list of libraries, the search ends, lists
// each game once and in the same order on every run.
TEST(GamePlaces, FindsEachGameOnceInOrderWhateverSteamsListIs) {
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

// A row per place where players' games are: the games made in a fake home
// folder (and its links and library lists), and what the search lists.
TEST(GamePlaces, FindsTheGameWhereverItsLauncherPutIt) {
    struct Row {
        const char* name;
        std::vector<std::string> games;                         // gorv.exe made in these folders
        std::vector<std::pair<std::string, std::string>> links; // link, what it points to
        std::vector<std::pair<std::string, std::string>> files; // a library list and its text; ~ is the home
        std::vector<std::string> expected;                      // the folders listed, in order
    };
    const std::string steam = ".local/share/Steam/steamapps/common/Gorv";
    const Row rows[] = {
        {"Snap",
         {"snap/steam/common/.local/share/Steam/steamapps/common/Gorv"},
         {},
         {},
         {"snap/steam/common/.local/share/Steam/steamapps/common/Gorv"}},
        {"Debian's package",
         {".steam/debian-installation/steamapps/common/Gorv"},
         {},
         {},
         {".steam/debian-installation/steamapps/common/Gorv"}},
        {"only .steam/root",
         {"opt/steam/steamapps/common/Gorv"},
         {{".steam/root", "../opt/steam"}},
         {},
         {".steam/root/steamapps/common/Gorv"}},
        {"older Flatpak",
         {".var/app/com.valvesoftware.Steam/data/Steam/steamapps/common/Gorv"},
         {},
         {},
         {".var/app/com.valvesoftware.Steam/data/Steam/steamapps/common/Gorv"}},
        {"capitals",
         {".local/share/Steam/SteamApps/Common/Gorv"},
         {},
         {},
         {".local/share/Steam/SteamApps/Common/Gorv"}},
        {"one install, two links",
         {steam},
         {{".steam/steam", "../.local/share/Steam"}, {".steam/root", "steam"}},
         {},
         {steam}},
        {"listed once, and Steam's own",
         {steam, "sd/steamapps/common/Gorv2"},
         {},
         {{".local/share/Steam/steamapps/libraryfolders.vdf", "\"libraryfolders\" { \"1\" { \"path\" \"~/sd\" } }"}},
         {steam, "sd/steamapps/common/Gorv2"}},
        {"listed in config only",
         {"sd/steamapps/common/Gorv"},
         {},
         {{".local/share/Steam/config/libraryfolders.vdf", "\"libraryfolders\" { \"1\" { \"path\" \"~/sd\" } }"}},
         {"sd/steamapps/common/Gorv"}},
        {"a byte-order mark",
         {"sd/steamapps/common/Gorv"},
         {},
         {{".local/share/Steam/steamapps/libraryfolders.vdf",
           "\xEF\xBB\xBF\"libraryfolders\"\r\n{\r\n\"1\" \"~/sd\"\r\n}\r\n"}},
         {"sd/steamapps/common/Gorv"}},
        {"an empty library path",
         {"here/steamapps/common/Gorv"},
         {},
         {{".local/share/Steam/steamapps/libraryfolders.vdf",
           "\"libraryfolders\" { \"1\" \"\" \"2\" { \"path\" \"\" } }"}},
         {}},
        {"Lutris",
         {"Games/gorv/drive_c/GOG Games/Gorv", "Games/gog/gorv/drive_c/Games/Gorv"},
         {},
         {},
         {"Games/gog/gorv/drive_c/Games/Gorv", "Games/gorv/drive_c/GOG Games/Gorv"}},
        {"Bottles",
         {".local/share/bottles/bottles/Gorv/drive_c/Program Files (x86)/Gorv",
          ".var/app/com.usebottles.bottles/data/bottles/bottles/G/drive_c/Gorv"},
         {},
         {},
         {".local/share/bottles/bottles/Gorv/drive_c/Program Files (x86)/Gorv",
          ".var/app/com.usebottles.bottles/data/bottles/bottles/G/drive_c/Gorv"}},
        {"Proton, a non-Steam game",
         {".local/share/Steam/steamapps/compatdata/3141592653/pfx/drive_c/A/B/C"},
         {},
         {},
         {".local/share/Steam/steamapps/compatdata/3141592653/pfx/drive_c/A/B/C"}},
        {"where no game is",
         {".local/share/bottles/bottles/b/drive_c/windows/x", ".local/share/bottles/bottles/b/drive_c/users/x",
          ".local/share/bottles/bottles/b/drive_c/A/B/C/D", ".local/share/bottles/bottles/b/drive_c", "elsewhere/Gorv"},
         {{".local/share/bottles/bottles/b/drive_c/link", "../../../../../elsewhere"}},
         {},
         {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder home;
        TempFolder working;
        const auto inHome = [&](const std::string& path) {
            std::string text = path;
            for (std::size_t at = text.find('~'); at != std::string::npos; at = text.find('~', at)) {
                text.replace(at, 1, home.path.string());
            }
            return text;
        };
        for (const std::string& game : row.games) {
            const fs::path folder = (game.rfind("here/", 0) == 0 ? working.path / game.substr(5) : home.path / game);
            fs::create_directories(folder);
            writeBytes((folder / "gorv.exe").string(), "MZ");
        }
        for (const auto& [link, target] : row.links) {
            fs::create_directories((home.path / link).parent_path());
            fs::create_directory_symlink(target, home.path / link);
        }
        for (const auto& [file, text] : row.files) {
            fs::create_directories((home.path / file).parent_path());
            writeBytes(home.file(file), inHome(text));
        }
        std::vector<std::string> expected;
        for (const std::string& folder : row.expected) {
            expected.push_back(home.file(folder + "/gorv.exe"));
        }
        const fs::path saved = fs::current_path();
        fs::current_path(working.path);
        EXPECT_EQ(findGameCopies(home.path.string(), "gorv.exe"), expected);
        fs::current_path(saved);
    }
}
