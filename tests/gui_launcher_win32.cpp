// A stand-in for a Windows launcher (Steam, a store's client): a program
// without a console that starts the command line in GORV_LAUNCH_COMMAND as
// such launchers do (\uXXXX, four hex digits, there stands for that UTF-16 unit, a lone
// surrogate too), waits for it, and writes its exit code to the file that
// GORV_LAUNCH_STATUS names. With GORV_LAUNCH_STOP_AFTER, it ends what it
// started after that many milliseconds, as a launcher's Stop does. With
// GORV_LAUNCH_AS_STEAM, it tells the system that it is Steam, as Steam does
// while it runs: its process id in HKCU\Software\Valve\Steam\ActiveProcess,
// value pid, and 0 there when it ends.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

std::wstring variable(const wchar_t* name) {
    wchar_t value[32768] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 32768);
    return std::wstring(value, length < 32768 ? length : 0);
}

// The command with each \uXXXX made the UTF-16 unit it stands for.
std::wstring unescaped(const std::wstring& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, L"\\u") == 0 && i + 6 <= text.size() &&
            text.find_first_not_of(L"0123456789ABCDEFabcdef", i + 2) >= i + 6) {
            out += static_cast<wchar_t>(std::wcstoul(text.substr(i + 2, 4).c_str(), nullptr, 16));
            i += 5;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    std::wstring command = unescaped(variable(L"GORV_LAUNCH_COMMAND"));
    const std::wstring stopAfter = variable(L"GORV_LAUNCH_STOP_AFTER");
    const std::wstring statusFile = variable(L"GORV_LAUNCH_STATUS");
    const bool asSteam = !variable(L"GORV_LAUNCH_AS_STEAM").empty();
    const auto setSteamProcess = [](DWORD id) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Valve\\Steam\\ActiveProcess", L"pid", REG_DWORD, &id, sizeof id);
    };
    if (asSteam) {
        setSteamProcess(GetCurrentProcessId());
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    DWORD code = 255;
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process) != 0) {
        const DWORD wait = stopAfter.empty() ? INFINITE : std::wcstoul(stopAfter.c_str(), nullptr, 10);
        if (WaitForSingleObject(process.hProcess, wait) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 1);
            WaitForSingleObject(process.hProcess, INFINITE);
        }
        GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    if (asSteam) {
        setSteamProcess(0);
    }
    std::FILE* const out = _wfopen(statusFile.c_str(), L"w");
    if (out != nullptr) {
        std::fprintf(out, "%lu\n", static_cast<unsigned long>(code));
        std::fclose(out);
    }
    return 0;
}
