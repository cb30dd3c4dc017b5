#include "platform/process.h"

#include <windows.h>

#include "platform/code_page_win32.h"

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
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) == 0) {
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
