// A stand-in for a game on Windows that writes down exactly how it was
// started, to the file that GORV_PROBE_OUT names: its whole command line
// and its arguments as the C runtime split them, each in hexadecimal
// UTF-16 (lone surrogates and all), and the console's output code page.
// It stays for the milliseconds that GORV_PROBE_WAIT gives, then writes
// the file that GORV_PROBE_DONE names (unless it was ended before), and
// ends with the status that GORV_PROBE_STATUS gives. Like a game, it
// keeps a screen's ratio in its data, which a patch may change.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const volatile float kAspect = 1.7777778F;

std::wstring variable(const wchar_t* name) {
    wchar_t value[32768] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return std::wstring(value, length < 32768 ? length : 0);
}

std::string hex(const wchar_t* text) {
    std::string out;
    char unit[8] = {};
    for (; *text != L'\0'; ++text) {
        std::snprintf(unit, sizeof unit, "%04x", static_cast<unsigned>(*text));
        out += unit;
    }
    return out;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::FILE* const out = _wfopen(variable(L"GORV_PROBE_OUT").c_str(), L"w");
    if (out == nullptr) {
        return 99;
    }
    std::fprintf(out, "line=%s\n", hex(GetCommandLineW()).c_str());
    for (int i = 1; i < argc; ++i) {
        std::fprintf(out, "[%s]\n", hex(argv[i]).c_str());
    }
    std::fprintf(out, "code page=%u\n", GetConsoleOutputCP());
    if (!variable(L"GORV_PROBE_ASPECT").empty()) {
        std::fprintf(out, "aspect=%.4f\n", static_cast<double>(kAspect));
    }
    std::fclose(out);
    const std::wstring wait = variable(L"GORV_PROBE_WAIT");
    if (!wait.empty()) {
        Sleep(static_cast<DWORD>(std::wcstoul(wait.c_str(), nullptr, 10)));
        if (std::FILE* const done = _wfopen(variable(L"GORV_PROBE_DONE").c_str(), L"w")) {
            std::fclose(done);
        }
    }
    return static_cast<int>(std::wcstol(variable(L"GORV_PROBE_STATUS").c_str(), nullptr, 10));
}
