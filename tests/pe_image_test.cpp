#include <gtest/gtest.h>

#include <random>

#include "files/pe_image.h"
#include "files/value_in_code.h"
#include "platform/file_system.h"
#include "temp_folder.h"

namespace {

void put16(std::string* bytes, std::size_t at, std::uint32_t value) {
    (*bytes)[at] = static_cast<char>(value & 0xFFU);
    (*bytes)[at + 1] = static_cast<char>(value >> 8 & 0xFFU);
}

void put32(std::string* bytes, std::size_t at, std::uint32_t value) {
    put16(bytes, at, value & 0xFFFFU);
    put16(bytes, at + 2, value >> 16);
}

void putBytes(std::string* bytes, std::size_t at, const std::string& what) {
    bytes->replace(at, what.size(), what);
}

const std::string k16to9("\x39\x8e\xe3\x3f", 4);

// A small x64 program: .text at RVA 0x1000 (file 0x400) with one function
// whose code loads 16:9 from .rdata (RVA 0x2010, file 0x610) and holds it
// as immediates; .rdata also holds the function table and a relocation.
std::string smallProgram() {
    std::string bytes(0x800, '\0');
    putBytes(&bytes, 0, "MZ");
    put32(&bytes, 0x3C, 0x40);
    putBytes(&bytes, 0x40, std::string("PE\0\0", 4));
    put16(&bytes, 0x44, 0x8664);
    put16(&bytes, 0x46, 2);   // sections
    put16(&bytes, 0x54, 240); // optional header
    const std::size_t optional = 0x58;
    put16(&bytes, optional, 0x20B);
    put32(&bytes, optional + 24, 0x40000000);
    put32(&bytes, optional + 28, 0x1);             // image base 0x140000000
    put32(&bytes, optional + 108, 16);             // directories
    put32(&bytes, optional + 112 + 3 * 8, 0x2100); // function table
    put32(&bytes, optional + 112 + 3 * 8 + 4, 12);
    put32(&bytes, optional + 112 + 5 * 8, 0x2180); // relocations
    put32(&bytes, optional + 112 + 5 * 8 + 4, 12);
    const std::size_t table = optional + 240;
    const struct {
        const char* name;
        std::uint32_t address;
        std::uint32_t fileOffset;
        std::uint32_t flags;
    } sections[] = {{".text", 0x1000, 0x400, 0x60000020}, {".rdata", 0x2000, 0x600, 0x40000040}};
    for (std::size_t i = 0; i < 2; ++i) {
        const std::size_t at = table + i * 40;
        putBytes(&bytes, at, sections[i].name);
        put32(&bytes, at + 8, 0x200);
        put32(&bytes, at + 12, sections[i].address);
        put32(&bytes, at + 16, 0x200);
        put32(&bytes, at + 20, sections[i].fileOffset);
        put32(&bytes, at + 36, sections[i].flags);
    }
    // The function: movss xmm0, [rip + 16:9]; mov dword [rcx], 16:9;
    // mov dword [rsp+0x30], 16:9; mov eax, 16:9; ret.
    std::string code = std::string("\xF3\x0F\x10\x05", 4) + "...." + std::string("\xC7\x01", 2) + k16to9 +
                       std::string("\xC7\x44\x24\x30", 4) + k16to9 + "\xB8" + k16to9 + "\xC3";
    put32(&code, 4, 0x2010 - (0x1000 + 8));
    putBytes(&bytes, 0x400, code);
    putBytes(&bytes, 0x610, k16to9);
    put32(&bytes, 0x700, 0x1000); // the function, RVA 0x1000 to 0x1020
    put32(&bytes, 0x704, 0x1020);
    // One block of relocations: a 64-bit address at RVA 0x1018.
    put32(&bytes, 0x780, 0x1000);
    put32(&bytes, 0x784, 12);
    put16(&bytes, 0x788, 10U << 12 | 0x018U);
    return bytes;
}

bool readFrom(const TempFolder& folder, const std::string& bytes, PeImage* image, std::string* err) {
    writeBytes(folder.file("game.exe"), bytes);
    File file;
    return openForReading(folder.file("game.exe"), &file, err) && readPeImage(file.get(), image, err);
}

} // namespace

// The layout as the headers give it, and every header that does not fit
// refused: cut short anywhere, a section past the file's end, any byte of
// the headers changed.
TEST(PeImage, ReadsTheLayoutAndRefusesHeadersThatDoNotFit) {
    TempFolder folder;
    const std::string program = smallProgram();
    PeImage image;
    std::string err;
    ASSERT_TRUE(readFrom(folder, program, &image, &err)) << err;
    EXPECT_TRUE(image.is64);
    EXPECT_EQ(image.imageBase, 0x140000000U);
    ASSERT_EQ(image.sections.size(), 2U);
    EXPECT_TRUE(image.sections[0].isCode());
    EXPECT_FALSE(image.sections[1].isCode());
    ASSERT_EQ(image.functions.size(), 1U);
    EXPECT_EQ(image.relocations, std::vector<std::uint32_t>{0x1018});
    EXPECT_EQ(functionAt(image, 0x1010), &image.functions[0]);
    EXPECT_EQ(functionAt(image, 0x1020), nullptr);
    std::uint32_t address = 0;
    std::int64_t offset = 0;
    ASSERT_TRUE(addressOfOffset(image, 0x610, &address));
    EXPECT_EQ(address, 0x2010U);
    ASSERT_TRUE(offsetOfAddress(image, 0x2010, &offset));
    EXPECT_EQ(offset, 0x610);
    // Headers and addresses in no section.
    EXPECT_FALSE(addressOfOffset(image, 0x10, &address));
    EXPECT_FALSE(offsetOfAddress(image, 0x5000, &offset));
    EXPECT_FALSE(offsetOfAddress(image, 0x800, &offset));

    for (std::size_t size = 0; size < program.size(); size += size < 0x200 ? 1 : 64) {
        EXPECT_FALSE(readFrom(folder, program.substr(0, size), &image, &err)) << size;
        EXPECT_FALSE(err.empty()) << size;
    }
    std::string beyond = program;
    put32(&beyond, 0x58 + 240 + 40 + 20, 0x10000);
    EXPECT_FALSE(readFrom(folder, beyond, &image, &err));
    EXPECT_NE(err.find("beyond the file's end"), std::string::npos) << err;

    // Whatever the headers say, nothing is read outside the file (the
    // sanitizers watch), and what is taken lies inside it.
    // The search through the code meets the same: it reads what the
    // layout says, and must stay inside it.
    File original;
    ProgramVersion earlier;
    ASSERT_TRUE(openForReading(folder.file("game.exe"), &original, &err));
    writeBytes(folder.file("earlier.exe"), program);
    ASSERT_TRUE(openForReading(folder.file("earlier.exe"), &original, &err) &&
                readProgramVersion(original.get(), &earlier, &err))
        << err;
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        std::string changed = program;
        for (std::size_t k = 0; k < 4; ++k) {
            changed[random() % (k == 0 ? changed.size() : 0x1C0)] = static_cast<char>(random() & 0xFFU);
        }
        if (!readFrom(folder, changed, &image, &err)) {
            continue;
        }
        for (const PeSection& section : image.sections) {
            EXPECT_LE(section.fileOffset + section.fileSize, static_cast<std::int64_t>(changed.size()));
        }
        File file;
        ProgramVersion current;
        if (openForReading(folder.file("game.exe"), &file, &err) && readProgramVersion(file.get(), &current, &err)) {
            findThroughCode(earlier, 0x610, current, {k16to9});
            findThroughCode(earlier, 0x40A, current, {k16to9});
        }
    }
}

// What the layout says of 4 bytes: data, an instruction's immediate (in
// each form that stores one), or neither (across an instruction, in the
// headers, past the sections).
TEST(PeImage, TellsDataFromImmediatesFromNeither) {
    TempFolder folder;
    writeBytes(folder.file("game.exe"), smallProgram());
    File file;
    std::string err;
    ProgramVersion version;
    ASSERT_TRUE(openForReading(folder.file("game.exe"), &file, &err)) << err;
    ASSERT_TRUE(readProgramVersion(file.get(), &version, &err)) << err;
    const struct {
        std::int64_t offset;
        ValueSite site;
    } rows[] = {
        {0x610, ValueSite::Data},      {0x40A, ValueSite::Immediate}, {0x412, ValueSite::Immediate},
        {0x417, ValueSite::Immediate}, {0x404, ValueSite::Neither},   {0x400, ValueSite::Neither},
        {0x409, ValueSite::Neither},   {0x10, ValueSite::Neither},    {0x900, ValueSite::Neither},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(valueSiteAt(version, row.offset), row.site) << row.offset;
    }
}
