// A stand-in for a Windows launcher (Steam, a store's client): a program
// without a console that starts the command line in GORV_LAUNCH_COMMAND as
// such launchers do, waits for it, and writes its exit code to the file
// that GORV_LAUNCH_STATUS names.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring variable(const wchar_t* name) {
    wchar_t value[32768] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return std::wstring(value, length < 32768 ? length : 0);
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring command = variable(L"GORV_LAUNCH_COMMAND");
    const std::wstring statusFile = variable(L"GORV_LAUNCH_STATUS");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 255;
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    std::FILE* const out = _wfopen(statusFile.c_str(), L"w");
    if (out != nullptr) {
        std::fprintf(out, "%lu\n", static_cast<unsigned long>(code));
        std::fclose(out);
    }
    return 0;
}
