#include <gtest/gtest.h>

#include <string>

#include "launchers/steam_launch_options.h"

namespace {

// A localconfig.vdf as Steam writes it, with `apps` inside: two spellings
// of the blocks' names, an escaped value, other apps around the one set.
std::string steamFile(const std::string& valve, const std::string& apps, const std::string& app,
                      const std::string& lineEnd = "\n") {
    std::string text = "\"UserLocalConfigStore\"\n{\n\t\"Software\"\n\t{\n\t\t\"" + valve +
                       "\"\n\t\t{\n\t\t\t\"Steam\"\n\t\t\t{\n\t\t\t\t\"" + apps +
                       "\"\n\t\t\t\t{\n\t\t\t\t\t\"10\"\n\t\t\t\t\t{\n\t\t\t\t\t\t\"LaunchOptions\"\t\t"
                       "\"-say \\\"hi\\\" C:\\\\x\"\n\t\t\t\t\t}\n" +
                       app + "\t\t\t\t\t\"30\"\n\t\t\t\t\t{\n\t\t\t\t\t}\n\t\t\t\t}\n\t\t\t}\n\t\t}\n\t}\n}\n";
    std::string converted;
    for (const char c : text) {
        converted += c == '\n' ? lineEnd : std::string(1, c);
    }
    return converted;
}

// `after` is `before` with one stretch replaced: the one where `value`
// stands (or was put).
void expectOneChange(const std::string& before, const std::string& after, const std::string& value) {
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail]) {
        ++tail;
    }
    const std::string changed = after.substr(head, after.size() - head - tail);
    EXPECT_LE(changed.size(), 200U + value.size()) << changed;
    EXPECT_NE(after.find(value), std::string::npos);
}

} // namespace

// Set and put back in every shape Steam's file comes in: only the value's
// bytes change, a second set changes nothing, and the put-back gives the
// file back byte for byte.
TEST(SteamLaunchOptions, SetChangesOnlyTheValueAndPutBackRestoresTheFile) {
    const std::string withOptions = "\t\t\t\t\t\"20\"\n\t\t\t\t\t{\n\t\t\t\t\t\t\"LastPlayed\"\t\t\"1\"\n"
                                    "\t\t\t\t\t\t\"launchoptions\"\t\t\"-novid\"\n\t\t\t\t\t}\n";
    const std::string withoutKey = "\t\t\t\t\t\"20\"\n\t\t\t\t\t{\n\t\t\t\t\t\t\"LastPlayed\"\t\t\"1\"\n\t\t\t\t\t}\n";
    const std::string bigApps = [] {
        std::string apps;
        for (int app = 1000; apps.size() < (std::size_t{3} << 20); ++app) {
            apps += "\t\t\t\t\t\"" + std::to_string(app) +
                    "\"\n\t\t\t\t\t{\n\t\t\t\t\t\t\"Playtime\"\t\t\"5\"\n"
                    "\t\t\t\t\t}\n";
        }
        return apps;
    }();
    const std::string noSteamBlock = "\"UserLocalConfigStore\"\r\n{\r\n\t\"friends\"\r\n\t{\r\n\t}\r\n}\r\n";
    const std::string files[] = {steamFile("Valve", "apps", withOptions),
                                 steamFile("valve", "Apps", withoutKey),
                                 steamFile("Valve", "apps", ""),
                                 steamFile("valve", "apps", withOptions, "\r\n"),
                                 steamFile("Valve", "Apps", bigApps + withoutKey),
                                 noSteamBlock};
    const std::string options = "\"/home/a b/gorv-patcher\" --screen 2560x1080 -- %command%";
    for (const std::string& original : files) {
        std::string text = original;
        EarlierOptions earlier;
        std::string err;
        ASSERT_TRUE(setLaunchOptions(&text, "20", options, &earlier, &err)) << err;
        expectOneChange(original, text, "\\\"/home/a b/gorv-patcher\\\" --screen");
        std::string read;
        bool present = false;
        ASSERT_TRUE(readLaunchOptions(text, "20", &read, &present, &err));
        EXPECT_TRUE(present);
        EXPECT_EQ(read, options);
        // The other app's escaped value reads as it did.
        EXPECT_EQ(original == noSteamBlock || readLaunchOptions(text, "10", &read, &present, &err), true);
        EXPECT_EQ(original == noSteamBlock ? "" : read, original == noSteamBlock ? "" : "-say \"hi\" C:\\x");
        // Lines end as the file's do.
        EXPECT_EQ(text.find("\r\n") != std::string::npos, original.find("\r\n") != std::string::npos);

        std::string again = text;
        EarlierOptions ignored;
        ASSERT_TRUE(setLaunchOptions(&again, "20", options, &ignored, &err));
        EXPECT_EQ(again, text);

        ASSERT_TRUE(putBackLaunchOptions(&text, "20", earlier, &err)) << err;
        EXPECT_EQ(text, original);
    }
    // Steam wrote keys of its own into the app's block that the tool made,
    // before the tool's, after it, or both: the put-back takes the tool's
    // key alone.
    const std::string lastPlayed = "\t\t\t\t\t\t\"LastPlayed\"\t\t\"9\"\n";
    const std::string playtime = "\t\t\t\t\t\t\"Playtime\"\t\t\"7\"\n";
    for (const auto& around : {std::make_pair(lastPlayed, std::string()), std::make_pair(std::string(), playtime),
                               std::make_pair(lastPlayed, playtime)}) {
        std::string text = steamFile("Valve", "apps", "");
        EarlierOptions earlier;
        std::string err;
        ASSERT_TRUE(setLaunchOptions(&text, "20", options, &earlier, &err)) << err;
        ASSERT_EQ(earlier.blocks, 1);
        const std::size_t line = text.rfind('\n', text.find("\"LaunchOptions\"\t\t\"\\\"/home")) + 1;
        text.insert(text.find('\n', line) + 1, around.second);
        text.insert(line, around.first);
        ASSERT_TRUE(putBackLaunchOptions(&text, "20", earlier, &err)) << err;
        const std::string block = "\t\t\t\t\t\"20\"\n\t\t\t\t\t{\n" + around.first + around.second + "\t\t\t\t\t}\n";
        EXPECT_NE(text.find(block), std::string::npos) << text;
        EXPECT_EQ(text.find("LaunchOptions\"\t\t\"\\\"/home"), std::string::npos) << text;
    }
}

// Files that are not Steam's settings as it writes them are refused and
// left as they were.
TEST(SteamLaunchOptions, RefusesWhatItCannotRead) {
    const std::string broken[] = {
        "\"UserLocalConfigStore\" { \"Software\" {",
        "\"UserLocalConfigStore\" { } }",
        std::string("\"UserLocalConfigStore\" { \"a\" \"b\0c\" }", 34),
        "\"UserLocalConfigStore\" { \"x\" \"unended }",
        "\"Other\" { }",
        "\"UserLocalConfigStore\" { \"Software\" \"value\" }",
        "\"UserLocalConfigStore\" { \"Software\" { \"Valve\" { \"Steam\" { \"apps\" { \"20\" { \"LaunchOptions\" { } } "
        "} "
        "} } } }",
    };
    for (const std::string& original : broken) {
        std::string text = original;
        EarlierOptions earlier;
        std::string err;
        EXPECT_FALSE(setLaunchOptions(&text, "20", "x", &earlier, &err)) << original;
        EXPECT_FALSE(err.empty());
        EXPECT_EQ(text, original);
    }
}
