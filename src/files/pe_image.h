#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A Windows program's layout as its headers give it (PE32 and PE32+): its
// sections and where each lies in the file and in memory, its functions
// (x64's function table) and the places that hold absolute addresses (the
// base relocations). Read with every field checked against the file: a
// malformed header is a refusal, never a read outside the file.

struct PeSection {
    std::string name;
    std::uint32_t address = 0;    // where it is loaded, relative to the image's base (RVA)
    std::uint32_t loadedSize = 0; // its size in memory
    std::int64_t fileOffset = 0;  // where its bytes are in the file
    std::uint32_t fileSize = 0;   // how many of them the file holds
    std::uint32_t flags = 0;      // the section's characteristics
    bool isCode() const;          // holds instructions
    bool isLoaded() const;        // part of the running game: not debug info, not discarded
};

/// A function's first and last-plus-one address (RVA).
struct PeFunction {
    std::uint32_t begin = 0;
    std::uint32_t end = 0;
};

struct PeImage {
    bool is64 = false;
    std::uint64_t imageBase = 0;
    std::vector<PeSection> sections;
    std::vector<PeFunction> functions;      // x64: sorted by address; empty elsewhere
    std::vector<std::uint32_t> relocations; // the places (RVA) of absolute addresses, sorted
};

/// Whether the file starts as a Windows program does ("MZ", then "PE").
bool looksLikePe(std::FILE* file);

/// Reads the image's layout from `file`. False, with what was wrong, for a
/// file that is no Windows program or whose headers do not fit in it.
bool readPeImage(std::FILE* file, PeImage* image, std::string* err);

/// The section whose bytes in the file hold `offset`; null for none.
const PeSection* sectionAtOffset(const PeImage& image, std::int64_t offset);

/// The section loaded at `address` (an RVA) that the file holds bytes of;
/// null for none.
const PeSection* sectionAtAddress(const PeImage& image, std::uint64_t address);

/// The address (RVA) of the file's byte at `offset`; false where no loaded
/// section holds it.
bool addressOfOffset(const PeImage& image, std::int64_t offset, std::uint32_t* address);

/// The file offset of the byte loaded at `address`; false where the file
/// holds no byte there.
bool offsetOfAddress(const PeImage& image, std::uint64_t address, std::int64_t* offset);

/// The function that holds `address`; null for none.
const PeFunction* functionAt(const PeImage& image, std::uint32_t address);
