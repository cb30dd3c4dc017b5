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

// A row per place where players' games are, in a fake home folder: its
// links (made first, with what they point to) and Steam's library lists
// ("~" for the home folder), then the games the search must list, in that
// order, and games it must not list.
TEST(GamePlaces, FindsTheGameWhereverItsLauncherPutIt) {
    using Pairs = std::vector<std::pair<std::string, std::string>>;
    using Folders = std::vector<std::string>;
    struct Row {
        const char* name;
        Pairs links;    // link, what it points to
        Pairs files;    // a library list, its text
        Folders listed; // folders with a gorv.exe that is listed
        Folders hidden; // folders with a gorv.exe that is not; "here/" is the working folder
    };
    const std::string steam = ".local/share/Steam/steamapps/";
    const std::string list = "\"libraryfolders\" { \"1\" { \"path\" \"~/sd\" } }";
    const std::string bottle = ".local/share/bottles/bottles/b/drive_c/";
    const std::string gogRecord = "gog_store/installed.json";
    const std::string gogText =
        R"({"installed": [{"platform": "windows", "install_path": "~/sd/Heroic/G", "appName": "1"},
                                                   {"install_path": 7}]})";
    const std::string epicRecord = "legendaryConfig/legendary/installed.json";
    const std::string epicText = R"({"Gorv": {"install_path": "~/games/E", "executable": "gorv.exe"}, "x": []})";
    const std::string flatpak = ".var/app/com.heroicgameslauncher.hgl/config/heroic/";
    const Row rows[] = {
        {"Snap", {}, {}, {"snap/steam/common/" + steam + "common/Gorv"}, {}},
        {"Debian's package", {}, {}, {".steam/debian-installation/steamapps/common/Gorv"}, {}},
        {"only .steam/root", {{".steam/root", "../opt/steam"}}, {}, {".steam/root/steamapps/common/Gorv"}, {}},
        {"older Flatpak", {}, {}, {".var/app/com.valvesoftware.Steam/data/Steam/steamapps/common/Gorv"}, {}},
        {"capitals", {}, {}, {".local/share/Steam/SteamApps/Common/Gorv"}, {}},
        {"one install, two links",
         {{".steam/steam", "../.local/share/Steam"}, {".steam/root", "steam"}},
         {},
         {steam + "common/Gorv"},
         {}},
        {"listed once, and Steam's own",
         {},
         {{steam + "libraryfolders.vdf", list}},
         {steam + "common/Gorv", "sd/steamapps/common/Gorv"},
         {}},
        {"listed in config only",
         {},
         {{".local/share/Steam/config/libraryfolders.vdf", list}},
         {"sd/steamapps/common/G"},
         {}},
        {"a byte-order mark",
         {},
         {{steam + "libraryfolders.vdf", "\xEF\xBB\xBF\"libraryfolders\"\r\n{\r\n\"1\" \"~/sd\"\r\n}\r\n"}},
         {"sd/steamapps/common/Gorv"},
         {}},
        {"an empty library path",
         {},
         {{steam + "libraryfolders.vdf", "\"libraryfolders\" { \"1\" \"\" \"2\" { \"path\" \"\" } }"}},
         {},
         {"here/steamapps/common/Gorv"}},
        {"Lutris", {}, {}, {"Games/gog/gorv/drive_c/Games/Gorv", "Games/gorv/drive_c/GOG Games/Gorv"}, {}},
        {"Bottles",
         {},
         {},
         {bottle + "Program Files (x86)/Gorv", ".var/app/com.usebottles.bottles/data/bottles/bottles/G/drive_c/G"},
         {}},
        {"Heroic's records",
         {},
         {{".config/heroic/" + gogRecord, gogText}, {".config/heroic/" + epicRecord, epicText}},
         {"sd/Heroic/G", "games/E"},
         {}},
        {"Heroic's records, Flatpak",
         {},
         {{flatpak + gogRecord, gogText}, {flatpak + epicRecord, epicText}},
         {"sd/Heroic/G", "games/E"},
         {}},
        {"broken records",
         {},
         {{flatpak + gogRecord, "{\"installed\": [{\"install_path\": "},
          {flatpak + epicRecord, R"({"Gorv": {"install_path": "relative/E"}})"}},
         {steam + "common/Gorv"},
         {"here/relative/E"}},
        {"Proton, a non-Steam game", {}, {}, {steam + "compatdata/3141592653/pfx/drive_c/A/B/C"}, {}},
        {"inside a prefix, where no game is",
         {{bottle + "link", "../../../../../elsewhere"}},
         {},
         {},
         {bottle + "windows/x", bottle + "users/x", bottle + "A/B/C/D", bottle, "elsewhere/Gorv"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder home;
        TempFolder working;
        for (const auto& [link, target] : row.links) {
            fs::create_directories((home.path / link).parent_path() / target);
            fs::create_directory_symlink(target, home.path / link);
        }
        for (const auto& [file, text] : row.files) {
            fs::create_directories((home.path / file).parent_path());
            std::string withHome = text;
            for (std::size_t at = withHome.find('~'); at != std::string::npos; at = withHome.find('~', at + 1)) {
                withHome.replace(at, 1, home.path.string());
            }
            writeBytes(home.file(file), withHome);
        }
        std::vector<std::string> expected;
        for (const Folders* games : {&row.listed, &row.hidden}) {
            for (const std::string& game : *games) {
                const bool here = game.rfind("here/", 0) == 0;
                const fs::path folder = here ? working.path / game.substr(5) : home.path / game;
                fs::create_directories(folder);
                writeBytes((folder / "gorv.exe").string(), "MZ");
                if (games == &row.listed) {
                    expected.push_back((folder / "gorv.exe").string());
                }
            }
        }
        const fs::path saved = fs::current_path();
        fs::current_path(working.path);
        EXPECT_EQ(findGameCopies(home.path.string(), "gorv.exe"), expected);
        fs::current_path(saved);
    }
}
