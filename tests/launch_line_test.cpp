#include <gtest/gtest.h>

#include "launchers/launch_line.h"

// Earlier options of every kind, with the tool's part put in front.
TEST(LaunchLine, KeepsWhatWasThere) {
    const std::string program = "'/home/deck/my games/gorv-patcher'";
    const std::string part = program + " --screen 2560x1080 --";
    const struct {
        const char* earlier;
        std::string expected;
    } cases[] = {
        {"", part + " %command%"},
        {"  ", part + " %command%"},
        {"-novid", part + " %command% -novid"},
        {"gamemoderun %command% -novid", part + " gamemoderun %command% -novid"},
        // A part of the tool's already: only the size changes, wherever the
        // program was.
        {"'/old/gorv-patcher' --screen 1920x1080 -- gamemoderun %command%",
         "'/old/gorv-patcher' --screen 2560x1080 -- gamemoderun %command%"},
        {"\"C:\\Tools\\gorv-patcherw.exe\" --screen 1x1 -- %command%",
         "\"C:\\Tools\\gorv-patcherw.exe\" --screen 2560x1080 -- %command%"},
        // Another program's --screen is no part of the tool's.
        {"other --screen 1x1 -- %command%", part + " other --screen 1x1 -- %command%"},
        {"/bin/gorv-patcher --screen 1x1 --x %command%", part + " /bin/gorv-patcher --screen 1x1 --x %command%"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(withLaunchPart(c.earlier, program, "2560x1080"), c.expected) << c.earlier;
    }
    std::string rest;
    ASSERT_TRUE(startsWithLaunchPart(part + " env %command% -x", &rest));
    EXPECT_EQ(rest, "env %command% -x");
    ASSERT_TRUE(startsWithLaunchPart(part, &rest));
    EXPECT_EQ(rest, "");
}
