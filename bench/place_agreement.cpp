// How alike an unrelated file can look to a value's place by chance: for
// the value's place in EARLIER at OFFSET, prints for each FILE the best
// agreement (as the moved value's search weighs it) among the FILE's
// places that a ratio could stand at there: the same two bytes before it
// (the same instruction), and a float from 0.25 to 8 in the 4 bytes.
// Usage: place_agreement EARLIER OFFSET FILE...
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "files/moved_value.h"

namespace {

std::string contents(const char* path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void surroundings(const std::string& bytes, std::size_t at, std::string* before, std::string* after) {
    const std::size_t start = at > kSurroundingBytes ? at - kSurroundingBytes : 0;
    before->assign(bytes.rbegin() + static_cast<std::ptrdiff_t>(bytes.size() - at),
                   bytes.rbegin() + static_cast<std::ptrdiff_t>(bytes.size() - start));
    *after = bytes.substr(std::min(bytes.size(), at + 4), kSurroundingBytes);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: place_agreement EARLIER OFFSET FILE...\n";
        return 2;
    }
    const std::string earlier = contents(argv[1]);
    const std::size_t offset = std::stoul(argv[2]);
    if (offset < 2 || offset + 4 > earlier.size()) {
        std::cerr << "the offset is outside " << argv[1] << "\n";
        return 2;
    }
    std::string before;
    std::string after;
    surroundings(earlier, offset, &before, &after);
    const std::string instruction = earlier.substr(offset - 2, 2);
    for (int i = 3; i < argc; ++i) {
        const std::string bytes = contents(argv[i]);
        double best = 0.0;
        for (std::size_t at = bytes.find(instruction); at != std::string::npos && at + 6 <= bytes.size();
             at = bytes.find(instruction, at + 1)) {
            float value = 0.0F;
            std::memcpy(&value, bytes.data() + at + 2, sizeof value);
            if (!(value >= 0.25F && value <= 8.0F)) {
                continue;
            }
            std::string otherBefore;
            std::string otherAfter;
            surroundings(bytes, at + 2, &otherBefore, &otherAfter);
            best = std::max(best, surroundingsAgreement(before, after, otherBefore, otherAfter));
        }
        std::printf("%.3f %s\n", best, argv[i]);
    }
    return 0;
}
