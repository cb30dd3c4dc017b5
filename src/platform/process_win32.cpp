#include "platform/process.h"

#include <windows.h>

#include <shellapi.h>

#include <memory>

#include "platform/code_page_win32.h"

std::vector<std::string> programArguments(int, char**) {
    // The C runtime's argv is in the ANSI code page, which cannot hold every
    // name a folder may have: the UTF-16 command line can.
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> words(CommandLineToArgvW(GetCommandLineW(), &count),
                                                              &LocalFree);
    std::vector<std::string> arguments;
    for (int i = 1; words != nullptr && i < count; ++i) {
        arguments.push_back(fromWide(words.get()[i]));
    }
    return arguments;
}

std::string programPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return "";
        }
        if (length < path.size()) {
            path.resize(length);
            return fromWide(path);
        }
        path.resize(path.size() * 2);
    }
}

std::string environmentVariable(const char* name) {
    const std::wstring wideName = toWide(name);
    const DWORD size = GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size == 0) {
        return "";
    }
    std::wstring value(size, L'\0');
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), &value[0], size);
    value.resize(length < size ? length : 0);
    return fromWide(value);
}

bool runInPlace(const std::vector<std::string>& command, int* status, std::string* err) {
    *status = 0;
    if (command.empty()) {
        *err = windowsMessage(ERROR_FILE_NOT_FOUND);
        return false;
    }
    std::wstring line = toWide(windowsCommandLine(command));
    // The program gets this one's standard streams, and only those: the
    // tool's own files are opened so that no child inherits them.
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (const HANDLE stream : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        if (stream != nullptr && stream != INVALID_HANDLE_VALUE) {
            SetHandleInformation(stream, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
        }
    }
    // Started without a console window (the windowed build, from a
    // launcher), a console program would get one of its own: the game's
    // stand-ins and tools run without, as this program does.
    const DWORD flags = GetConsoleWindow() == nullptr ? CREATE_NO_WINDOW : 0;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup, &process) == 0) {
        *err = windowsMessage(GetLastError());
        return false;
    }
    CloseHandle(process.hThread);
    DWORD code = 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    *status = static_cast<int>(code);
    return true;
}
