#include "files/offset_table.h"

#include <cstdlib>
#include <fstream>
#include <limits>

#include "files/game_files.h"

std::int32_t parseOffsetLine(const std::string& line) {
    // strtol skips leading white space, takes a sign and digits and stops
    // at anything else, as atoi does; unlike atoi it has a defined result
    // on overflow, which is then clamped the same on every platform.
    const long long value = std::strtoll(line.c_str(), nullptr, 10);
    if (value > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (value < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(value);
}

OffsetTable readOffsetTable(std::istream& in) {
    OffsetTable table{};
    std::string line;
    for (auto& value : table) {
        if (!std::getline(in, line)) {
            line.clear();
        }
        value = parseOffsetLine(line);
    }
    return table;
}

std::int32_t loadOffsetTable(std::ostream& out) {
    std::ifstream file(kUpdateFileName);
    if (!file.is_open()) {
        return kDefaultPatchOffset;
    }
    const OffsetTable table = readOffsetTable(file);
    file.close();

    out << "\n--Updated Offsets!--\n";
    const std::int32_t offset = table.front();
    if (offset <= 0) {
        // Zero or below would land on the executable's header or nowhere.
        out << "Ignored offset " << offset << " from " << kUpdateFileName << "\n";
        return kDefaultPatchOffset;
    }
    return offset;
}
