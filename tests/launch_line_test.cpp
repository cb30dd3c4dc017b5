#include <gtest/gtest.h>

#include "launchers/launch_line.h"

// The options players have, with the tool's line set, set again, taken
// back, and taken back after the player changed the line: the part stands
// right before %command%, after environment settings and wrappers, and
// taking it out keeps everything else.
TEST(LaunchLine, SetsAndTakesBackThePartInEveryLine) {
    const std::string program = "'/home/deck/my games/gorv-patcher'";
    const std::string part = program + " --screen 2560x1080 --";
    const struct {
        std::string earlier;
        std::string set;
        std::string cut; // the set line with the part cut out
    } cases[] = {
        {"", part + " %command%", "%command%"},
        {"  ", part + " %command%", "%command%"},
        {"-novid", part + " %command% -novid", "%command% -novid"},
        {"%command% -novid", part + " %command% -novid", "%command% -novid"},
        {"PROTON_LOG=1 %command%", "PROTON_LOG=1 " + part + " %command%", "PROTON_LOG=1 %command%"},
        {"WINEDLLOVERRIDES=\"dinput8=n,b\" %command%", "WINEDLLOVERRIDES=\"dinput8=n,b\" " + part + " %command%",
         "WINEDLLOVERRIDES=\"dinput8=n,b\" %command%"},
        {"DXVK_HUD=1 gamemoderun %command% -novid", "DXVK_HUD=1 gamemoderun " + part + " %command% -novid",
         "DXVK_HUD=1 gamemoderun %command% -novid"},
        {"LD_PRELOAD=\"/a b/x.so $LD_PRELOAD\" %command%",
         "LD_PRELOAD=\"/a b/x.so $LD_PRELOAD\" " + part + " %command%",
         "LD_PRELOAD=\"/a b/x.so $LD_PRELOAD\" %command%"},
        // A part of the tool's in any earlier form names this program and
        // size now, where it stands.
        {"'/old/gorv-patcher' --screen 1920x1080 -- gamemoderun %command%", part + " gamemoderun %command%",
         "gamemoderun %command%"},
        {"\"C:\\Tools\\gorv-patcherw.exe\" --screen 1x1 -- %command%", part + " %command%", "%command%"},
        {"PROTON_LOG=1 ~/Downloads/gorv-patcher-1.0/bin/gorv-patcher --screen 1x1 -- %command%",
         "PROTON_LOG=1 " + part + " %command%", "PROTON_LOG=1 %command%"},
        {"/old/gorv-patcher --screen 1x1 -- PROTON_LOG=1 %command%", part + " PROTON_LOG=1 %command%",
         "PROTON_LOG=1 %command%"},
        {"a\\ b/gorv-patcher --screen 1x1 --", part, ""},
        // Another program's --screen is no part of the tool's.
        {"other --screen 1x1 -- %command%", "other --screen 1x1 -- " + part + " %command%",
         "other --screen 1x1 -- %command%"},
        {"/bin/gorv-patcher --screen 1x1 --x %command%", "/bin/gorv-patcher --screen 1x1 --x " + part + " %command%",
         "/bin/gorv-patcher --screen 1x1 --x %command%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withLaunchPart(c.earlier, program, "2560x1080"), c.set) << c.earlier;
        EXPECT_EQ(withLaunchPart(c.set, program, "2560x1080"), c.set) << c.earlier;
        EXPECT_EQ(withoutLaunchPart(c.set), c.cut == "%command%" ? "" : c.cut) << c.earlier;
        const std::string edited = "MANGOHUD=1 mangohud " + c.set + " -fullscreen";
        EXPECT_EQ(withoutLaunchPart(edited),
                  "MANGOHUD=1 mangohud " + (c.cut.empty() ? "" : c.cut + " ") + "-fullscreen")
            << c.earlier;
    }
    // A program of the player's own counts as the tool's where named.
    const std::string own = "DXVK_HUD=1 /opt/my-patch --screen 1x1 -- %command%";
    EXPECT_EQ(withLaunchPart(own, "/opt/my-patch", "2560x1080", "/opt/my-patch"),
              "DXVK_HUD=1 /opt/my-patch --screen 2560x1080 -- %command%");
    EXPECT_EQ(withoutLaunchPart(own, "/opt/my-patch"), "DXVK_HUD=1 %command%");
    EXPECT_EQ(withoutLaunchPart(own), own);
}
