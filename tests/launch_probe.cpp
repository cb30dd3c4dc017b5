// A stand-in for a game that a launcher starts: writes down how it was
// started (its arguments, one variable of its environment and its working
// folder) to the file that GORV_PROBE_OUT names, stays for the
// milliseconds that GORV_PROBE_WAIT gives, and ends with the status that
// GORV_PROBE_STATUS gives.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

int main(int argc, char** argv) {
    const char* const out = std::getenv("GORV_PROBE_OUT");
    const char* const status = std::getenv("GORV_PROBE_STATUS");
    const char* const value = std::getenv("GORV_PROBE_VALUE");
    if (out == nullptr) {
        return 99;
    }
    std::ofstream record(out, std::ios::binary);
    for (int i = 1; i < argc; ++i) {
        record << '[' << argv[i] << "]\n";
    }
    record << "value=" << (value != nullptr ? value : "(unset)") << "\n";
    record << "folder=" << std::filesystem::current_path().u8string() << "\n";
    record.close();
    if (const char* const wait = std::getenv("GORV_PROBE_WAIT")) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(wait)));
    }
    return status != nullptr ? std::atoi(status) : 0;
}
