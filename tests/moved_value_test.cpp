#include <gtest/gtest.h>

#include <random>

#include "files/moved_value.h"
#include "platform/file_system.h"
#include "temp_folder.h"

namespace {

std::string fromHex(const std::string& hex) {
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return bytes;
}

// 16:9, as the game keeps it.
const std::string kValue = fromHex("398ee33f");

// The 64 bytes before and after 16:9 in two builds of a small program,
// compiled with MinGW from one source before and after an update added
// code and data: stored as an instruction's immediate, and in a table of
// constants (which gained two entries before it, and strings after it).
struct Surroundings {
    std::string before;
    std::string after;
};
const Surroundings kCode1{
    fromHex("8d159d7a00004889c1e8e51000004883c4305bc366662e0f1f8400000000000f1f4000660fefc0488b058d7a0000f30f2ac2f30f58"
            "05897a000048894108c701"),
    fromHex("f30f114104c39090909090909090904883ec28488b05556a0000488b004885c074220f1f440000ffd0488b053f6a0000488d500848"
            "8b4008488915306a000048")};
const Surroundings kCode2{
    fromHex("fae8a56600004883f80183deff4883c3084839eb75e589f04883c4285b5e5f5dc36690660fefc0488b05b57a0000f30f2ac2f30f58"
            "05b17a000048894108c701"),
    fromHex("f30f114104c39090909090909090904883ec28488b05156a0000488b004885c074220f1f440000ffd0488b05ff690000488d500848"
            "8b4008488915f069000048")};
const Surroundings kData1{
    fromHex("000000000000000000000000000000000000000025733a20256478256420252e346620252e31660a000000000000000000000000"
            "0000a03fabaaaa3fcdcccc3f"),
    fromHex("000000409a99194080070000380400000000964200000000000000000000000000000000000000000000000000000000f0160040"
            "010000000000000000000000")};
const Surroundings kData3{
    fromHex("640a0025733a20256478256420252e346620252e31660a0000000000000000000000000000000000000000000000a03fabaaaa3f"
            "cdcccc3f26b41740398e6340"),
    fromHex("000000409a9919400000000064000000fa000000c2010000bc020000e803000046050000d6060000980800008c0a00004e657720"
            "6d6170730050686f746f206d")};

// Bytes that stand for the rest of a program, different for each seed.
std::string filler(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random() & 0xFFU);
    }
    return bytes;
}

std::string around(const Surroundings& surroundings, const std::string& value = kValue) {
    return surroundings.before + value + surroundings.after;
}

} // namespace

// The search for the value's new place, over versions of a file made from
// the builds' surroundings: a row's earlier version holds 16:9 at
// `earlierOffset`; -1 for `expected`: no place is taken, for `refusal`.
TEST(MovedValue, TakesOnlyAClearMutualBestMatch) {
    const std::string head1 = filler(3000, 1);
    const std::string head2 = filler(3500, 2);
    const std::string tail1 = filler(2000, 3);
    const std::string tail2 = filler(2500, 4);
    const std::string gap = filler(700, 5);
    const std::string code1 = head1 + around(kCode1) + tail1;
    const std::string data1 = head1 + around(kData1) + tail1;
    const std::int64_t earlierOffset = 3064;
    const std::int64_t currentOffset = 3564;
    const Surroundings rewritten{filler(64, 7), filler(64, 8)};
    const Surroundings lastBytes{filler(3000, 10) + kCode1.before, ""};
    const std::string twin = filler(200, 20) + around(kCode1) + filler(200, 21);
    const std::string twins1 = head1 + twin + gap + twin + tail1;
    const std::string twins2 = head2 + twin + gap + twin + tail2;
    const struct {
        const char* name;
        std::string earlier;
        std::int64_t earlierOffset;
        std::string current;
        std::int64_t expected;
        MoveRefusal refusal;
    } rows[] = {
        {"in code", code1, earlierOffset, head2 + around(kCode2) + tail2, currentOffset, MoveRefusal::None},
        {"in data, with far more changed around it", data1, earlierOffset, head2 + around(kData3) + tail2, -1,
         MoveRefusal::NoPlace},
        {"two places", code1, earlierOffset, head2 + around(kCode2) + gap + around(kCode2) + tail2, -1,
         MoveRefusal::TwoAlike},
        {"rewritten surroundings", code1, earlierOffset, head2 + around(rewritten) + tail2, -1, MoveRefusal::NoPlace},
        {"no place holds it", code1, earlierOffset, head2 + around(kCode2, filler(4, 9)) + tail2, -1,
         MoveRefusal::NoPlace},
        {"the same version, patched", code1, earlierOffset, head1 + around(kCode1, fromHex("26b41740")) + tail1, -1,
         MoveRefusal::SameVersion},
        // A look-alike of the value (alike code elsewhere, with the same
        // number) stays where the value went away.
        {"the value vanished", code1 + around(kData1) + tail2, earlierOffset, head2 + around(kData1) + tail2, -1,
         MoveRefusal::Vanished},
        // A twin of the value's code, kept as it was, while the value's own
        // code was rewritten: the twin is most like the value, but is itself.
        {"a twin", code1 + gap + around(kCode2) + tail2, earlierOffset,
         head2 + around(kCode2) + gap + around(rewritten) + tail2, -1, MoveRefusal::OtherMatch},
        // The value's code kept as a legacy copy, and a new place like none.
        {"a new place beside a legacy copy", code1, earlierOffset,
         head2 + around(kCode2) + gap + around(rewritten) + tail2, -1, MoveRefusal::Unmatched},
        // A twin with byte-identical surroundings, kept as it was with the
        // value's own place: another place matches as well, whichever of
        // the two the value is.
        {"a twin, the value first", twins1, 3264, twins2, -1, MoveRefusal::TwoAlike},
        {"a twin, the value second", twins1, 3264 + 532 + 700, twins2, -1, MoveRefusal::TwoAlike},
        {"the first bytes", kValue + kCode1.after + tail1, 0, kValue + kCode1.after + tail2, 0, MoveRefusal::None},
        {"the last bytes", around(lastBytes), 3064, filler(300, 11) + around(lastBytes), 3364, MoveRefusal::None},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        writeBytes(folder.file("earlier"), row.earlier);
        writeBytes(folder.file("current"), row.current);
        File earlier;
        File current;
        std::string err;
        ASSERT_TRUE(openForReading(folder.file("earlier"), &earlier, &err)) << err;
        ASSERT_TRUE(openForReading(folder.file("current"), &current, &err)) << err;
        MovedValue found;
        ASSERT_TRUE(findMovedValue(earlier.get(), row.earlierOffset, current.get(), &found, &err)) << row.name;
        EXPECT_EQ(found.offset, row.expected) << row.name << ": " << found.reason << " (" << found.agreement << ")";
        EXPECT_EQ(found.refusal, row.refusal) << row.name << ": " << found.reason;
        EXPECT_EQ(found.reason.empty(), row.expected >= 0) << row.name;
    }
}
