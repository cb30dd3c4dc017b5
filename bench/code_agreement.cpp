// How alike unrelated code can look to the code that uses a value: for the
// value's place in EARLIER at OFFSET, prints for each FILE (a Windows
// program) the best agreement, as the search through the code weighs it,
// of any use of a screen's shape there.
// Usage: code_agreement EARLIER OFFSET FILE...
#include <cstdio>
#include <iostream>
#include <string>

#include "files/value_in_code.h"
#include "platform/file_system.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: code_agreement EARLIER OFFSET FILE...\n";
        return 2;
    }
    File earlierFile;
    ProgramVersion earlier;
    std::string err;
    if (!openForReading(argv[1], &earlierFile, &err) || !readProgramVersion(earlierFile.get(), &earlier, &err)) {
        std::cerr << argv[1] << ": " << err << "\n";
        return 2;
    }
    const std::int64_t offset = std::stoll(argv[2]);
    for (int i = 3; i < argc; ++i) {
        File file;
        ProgramVersion other;
        if (!openForReading(argv[i], &file, &err) || !readProgramVersion(file.get(), &other, &err)) {
            continue;
        }
        std::printf("%.3f %s\n", bestCodeAgreement(earlier, offset, other), argv[i]);
    }
    return 0;
}
