#include <gtest/gtest.h>

#include "launchers/heroic_wrapper.h"

namespace {

// Heroic's settings for a game as it writes them: two spaces, no line end.
const char* const kSettings = R"({
  "Gorv": {
    "autoInstallDxvk": true,
    "wrapperOptions": [
      {
        "exe": "mangohud",
        "args": ""
      }
    ],
    "language": "é"
  },
  "version": "v0",
  "explicit": true
})";

} // namespace

// The tool's wrapper goes first, every other member and wrapper stays, a
// second run changes nothing, and the removal gives the file back.
TEST(HeroicWrapper, GoesFirstAndComesOutExactly) {
    const std::string withoutList = R"({
  "Gorv": {
    "language": "en"
  },
  "version": "v0"
}
)";
    for (const std::string& original : {std::string(kSettings), withoutList}) {
        std::string text = original;
        bool listMade = false;
        std::string err;
        ASSERT_TRUE(
            setHeroicWrapper(&text, "Gorv", "/home/a b/gorv-patcher", "--screen 2560x1080 --", "", &listMade, &err))
            << err;
        EXPECT_EQ(listMade, original == withoutList);
        EXPECT_NE(text.find(R"("wrapperOptions": [
      {
        "exe": "/home/a b/gorv-patcher",
        "args": "--screen 2560x1080 --"
      })"),
                  std::string::npos)
            << text;
        // A wrapper of the tool's is made to name the program given, where
        // it stands.
        std::string again = text;
        bool ignored = false;
        ASSERT_TRUE(
            setHeroicWrapper(&again, "Gorv", "/elsewhere/gorv-patcher", "--screen 2560x1080 --", "", &ignored, &err));
        EXPECT_EQ(again, std::string(text).replace(text.find("/home/a b/"), 10, "/elsewhere/"));
        std::string args;
        bool present = false;
        ASSERT_TRUE(readHeroicWrapper(text, "Gorv", "", &args, &present, &err));
        EXPECT_TRUE(present);
        EXPECT_EQ(args, "--screen 2560x1080 --");
        ASSERT_TRUE(removeHeroicWrapper(&text, "Gorv", "", listMade, &err));
        EXPECT_EQ(text, original);
    }
}

TEST(HeroicWrapper, RefusesWhatItCannotWriteBackAsItWas) {
    for (const std::string& original :
         {std::string("{\"Gorv\": {"), std::string("{\n   \"Gorv\": {}\n}"), std::string("{\"Other\":{}}"),
          std::string("{\"Gorv\":{\"wrapperOptions\":{}}}"), std::string("[]")}) {
        std::string text = original;
        bool listMade = false;
        std::string err;
        EXPECT_FALSE(setHeroicWrapper(&text, "Gorv", "/x/gorv-patcher", "--screen 1x1 --", "", &listMade, &err))
            << original;
        EXPECT_FALSE(err.empty());
        EXPECT_EQ(text, original);
    }
}
