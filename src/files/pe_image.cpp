#include "files/pe_image.h"

#include <algorithm>

#include "platform/file_system.h"

namespace {

constexpr std::uint32_t kCodeFlag = 0x00000020;        // IMAGE_SCN_CNT_CODE
constexpr std::uint32_t kExecuteFlag = 0x20000000;     // IMAGE_SCN_MEM_EXECUTE
constexpr std::uint32_t kDiscardableFlag = 0x02000000; // IMAGE_SCN_MEM_DISCARDABLE
constexpr std::uint32_t kRemoveFlag = 0x00000800;      // IMAGE_SCN_LNK_REMOVE
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kMaxSections = 96;
// The function table and the relocations read at most this much.
constexpr std::uint32_t kMaxDirectory = std::uint32_t{256} << 20;
constexpr std::size_t kExceptionDirectory = 3;
constexpr std::size_t kRelocationDirectory = 5;

std::uint32_t le16(const std::string& bytes, std::size_t at) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return le16(bytes, at) | le16(bytes, at + 2) << 16;
}

std::uint64_t le64(const std::string& bytes, std::size_t at) {
    return le32(bytes, at) | std::uint64_t{le32(bytes, at + 4)} << 32;
}

// Exactly `size` bytes at `position`, or a reason.
bool readExactly(std::FILE* file, std::int64_t position, std::size_t size, std::string* bytes, std::string* err) {
    bytes->assign(size, '\0');
    std::size_t count = 0;
    if (size > 0 && !readAt(file, position, &(*bytes)[0], size, &count, err)) {
        return false;
    }
    if (count < size) {
        *err = "it ends inside its headers";
        return false;
    }
    return true;
}

// The bytes of a directory (an RVA and a size), read from the section that
// holds it; empty where it has none or they lie outside the file.
bool readDirectory(std::FILE* file, const PeImage& image, std::uint32_t address, std::uint32_t size, std::string* bytes,
                   std::string* err) {
    bytes->clear();
    if (address == 0 || size == 0) {
        return true;
    }
    const PeSection* section = sectionAtAddress(image, address);
    if (section == nullptr || size > kMaxDirectory ||
        std::uint64_t{address} + size > std::uint64_t{section->address} + section->fileSize) {
        *err = "a directory of its headers lies outside its sections";
        return false;
    }
    return readExactly(file, section->fileOffset + (address - section->address), size, bytes, err);
}

} // namespace

bool PeSection::isCode() const {
    return (flags & (kCodeFlag | kExecuteFlag)) != 0;
}

bool PeSection::isLoaded() const {
    return (flags & (kDiscardableFlag | kRemoveFlag)) == 0 && name.rfind(".debug", 0) != 0;
}

bool looksLikePe(std::FILE* file) {
    std::string head;
    std::string ignored;
    if (!readExactly(file, 0, 64, &head, &ignored) || head.compare(0, 2, "MZ") != 0) {
        return false;
    }
    std::string signature;
    return readExactly(file, le32(head, 0x3C), 4, &signature, &ignored) && signature == std::string("PE\0\0", 4);
}

bool readPeImage(std::FILE* file, PeImage* image, std::string* err) {
    *image = PeImage{};
    std::string head;
    if (!readExactly(file, 0, 64, &head, err)) {
        return false;
    }
    if (head.compare(0, 2, "MZ") != 0) {
        *err = "it is no Windows program";
        return false;
    }
    const std::int64_t pe = le32(head, 0x3C);
    std::string coff;
    if (!readExactly(file, pe, 24, &coff, err)) {
        return false;
    }
    if (coff.compare(0, 4, std::string("PE\0\0", 4)) != 0) {
        *err = "it is no Windows program";
        return false;
    }
    const std::size_t sectionCount = le16(coff, 6);
    const std::size_t optionalSize = le16(coff, 20);
    std::string optional;
    if (sectionCount > kMaxSections || optionalSize < 2) {
        *err = "its headers are malformed";
        return false;
    }
    if (!readExactly(file, pe + 24, optionalSize, &optional, err)) {
        return false;
    }
    const std::uint32_t magic = le16(optional, 0);
    image->is64 = magic == 0x20B;
    if (magic != 0x10B && magic != 0x20B) {
        *err = "its optional header is of no known kind";
        return false;
    }
    const std::size_t directories = image->is64 ? 112 : 96;
    if (optionalSize < directories) {
        *err = "its optional header is too short";
        return false;
    }
    image->imageBase = image->is64 ? le64(optional, 24) : le32(optional, 28);
    const std::size_t directoryCount =
        std::min<std::size_t>(le32(optional, directories - 4), (optionalSize - directories) / 8);
    const auto directory = [&optional, directories, directoryCount](std::size_t index, std::uint32_t* address,
                                                                    std::uint32_t* size) {
        *address = index < directoryCount ? le32(optional, directories + 8 * index) : 0;
        *size = index < directoryCount ? le32(optional, directories + 8 * index + 4) : 0;
    };

    std::string table;
    if (!readExactly(file, pe + 24 + static_cast<std::int64_t>(optionalSize), sectionCount * kSectionHeaderSize, &table,
                     err)) {
        return false;
    }
    std::int64_t size = 0;
    if (!fileSize(file, &size, err)) {
        return false;
    }
    for (std::size_t i = 0; i < sectionCount; ++i) {
        const std::size_t at = i * kSectionHeaderSize;
        PeSection section;
        section.name = table.substr(at, 8);
        section.name.erase(std::find(section.name.begin(), section.name.end(), '\0'), section.name.end());
        section.loadedSize = le32(table, at + 8);
        section.address = le32(table, at + 12);
        section.fileSize = le32(table, at + 16);
        section.fileOffset = le32(table, at + 20);
        section.flags = le32(table, at + 36);
        if (section.loadedSize != 0) {
            section.fileSize = std::min(section.fileSize, section.loadedSize);
        }
        if (section.fileSize == 0) {
            section.fileOffset = 0; // it holds nothing of the file (.bss)
        }
        // Bytes past the file's end are no section's: the file is cut short.
        if (section.fileSize > 0 && section.fileOffset + section.fileSize > size) {
            *err = "its section " + section.name + " lies beyond the file's end";
            return false;
        }
        if (std::uint64_t{section.address} + std::max(section.loadedSize, section.fileSize) > 0xFFFFFFFFULL) {
            *err = "its section " + section.name + " lies beyond what an image can address";
            return false;
        }
        image->sections.push_back(section);
    }

    std::uint32_t address = 0;
    std::uint32_t length = 0;
    std::string bytes;
    if (image->is64) {
        directory(kExceptionDirectory, &address, &length);
        if (!readDirectory(file, *image, address, length, &bytes, err)) {
            return false;
        }
        for (std::size_t at = 0; at + 12 <= bytes.size(); at += 12) {
            const PeFunction function{le32(bytes, at), le32(bytes, at + 4)};
            if (function.begin < function.end) {
                image->functions.push_back(function);
            }
        }
        std::sort(image->functions.begin(), image->functions.end(),
                  [](const PeFunction& one, const PeFunction& other) { return one.begin < other.begin; });
    }
    directory(kRelocationDirectory, &address, &length);
    if (!readDirectory(file, *image, address, length, &bytes, err)) {
        return false;
    }
    for (std::size_t at = 0; at + 8 <= bytes.size();) {
        const std::uint32_t page = le32(bytes, at);
        const std::uint32_t blockSize = le32(bytes, at + 4);
        if (blockSize < 8 || blockSize > bytes.size() - at) {
            break;
        }
        for (std::size_t entry = at + 8; entry + 2 <= at + blockSize; entry += 2) {
            const std::uint32_t value = le16(bytes, entry);
            const std::uint32_t type = value >> 12;
            if (type == 3 || type == 10) { // an address of 32 or 64 bits
                image->relocations.push_back(page + (value & 0xFFFU));
            }
        }
        at += blockSize;
    }
    std::sort(image->relocations.begin(), image->relocations.end());
    return true;
}

const PeSection* sectionAtOffset(const PeImage& image, std::int64_t offset) {
    for (const PeSection& section : image.sections) {
        if (offset >= section.fileOffset && offset < section.fileOffset + section.fileSize) {
            return &section;
        }
    }
    return nullptr;
}

const PeSection* sectionAtAddress(const PeImage& image, std::uint64_t address) {
    for (const PeSection& section : image.sections) {
        if (address >= section.address && address < std::uint64_t{section.address} + section.fileSize) {
            return &section;
        }
    }
    return nullptr;
}

bool addressOfOffset(const PeImage& image, std::int64_t offset, std::uint32_t* address) {
    const PeSection* section = sectionAtOffset(image, offset);
    if (section == nullptr || !section->isLoaded()) {
        return false;
    }
    *address = section->address + static_cast<std::uint32_t>(offset - section->fileOffset);
    return true;
}

bool offsetOfAddress(const PeImage& image, std::uint64_t address, std::int64_t* offset) {
    const PeSection* section = sectionAtAddress(image, address);
    if (section == nullptr) {
        return false;
    }
    *offset = section->fileOffset + static_cast<std::int64_t>(address - section->address);
    return true;
}

const PeFunction* functionAt(const PeImage& image, std::uint32_t address) {
    const auto after =
        std::upper_bound(image.functions.begin(), image.functions.end(), address,
                         [](std::uint32_t value, const PeFunction& function) { return value < function.begin; });
    if (after == image.functions.begin()) {
        return nullptr;
    }
    const PeFunction& function = *(after - 1);
    return address < function.end ? &function : nullptr;
}
