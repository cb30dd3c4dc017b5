#include "platform/process.h"

#include <windows.h>

#include <tlhelp32.h>

#include <memory>

#include "platform/code_page_win32.h"

namespace {

// This program's command line, split as the C runtime splits it.
std::vector<WindowsWord> ownWords(std::wstring* line) {
    *line = GetCommandLineW();
    return splitWindowsCommandLine(std::u16string(line->begin(), line->end()));
}

// The rest of this program's command line from the command's first word.
std::wstring commandLineOf(const Command& command) {
    std::wstring line;
    const std::vector<WindowsWord> words = ownWords(&line);
    // Word 0 is the program's name.
    const std::size_t before = command.firstArgument;
    return before < words.size() ? line.substr(words[before].next) : std::wstring();
}

struct HandleCloser {
    void operator()(HANDLE handle) const {
        CloseHandle(handle);
    }
};
using Handle = std::unique_ptr<void, HandleCloser>;

// A job that ends its processes when its last handle closes: when this
// program ends, however it ends. Null, with the reason, where none can be
// made.
Handle jobThatEndsWithUs(std::string* why) {
    Handle job(CreateJobObjectW(nullptr, nullptr));
    if (job == nullptr) {
        *why = windowsMessage(GetLastError());
        return nullptr;
    }
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits, sizeof limits) == 0) {
        *why = windowsMessage(GetLastError());
        return nullptr;
    }
    return job;
}

} // namespace

std::vector<std::string> programArguments(int, char**) {
    // The C runtime's argv is in the ANSI code page, which cannot hold every
    // name a folder may have: the UTF-16 command line can. It is split as
    // the C runtime splits it, as the command that a launch starts is cut
    // from it (see commandText).
    std::wstring line;
    const std::vector<WindowsWord> words = ownWords(&line);
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < words.size(); ++i) {
        arguments.push_back(fromWide(std::wstring(words[i].text.begin(), words[i].text.end())));
    }
    return arguments;
}

std::string userStateFolder() {
    return environmentVariable("LOCALAPPDATA");
}

std::string userProgramFolder(const std::string& name) {
    const std::string local = environmentVariable("LOCALAPPDATA");
    return local.empty() ? "" : local + "\\Programs\\" + name;
}

std::vector<std::string> launchProgramNames(const std::string& name) {
    return {name + "w.exe", name + ".exe"};
}

std::string launchLineWord(const std::string& program) {
    return "\"" + program + "\"";
}

namespace {

// "steam" for C:\...\Steam.exe.
std::wstring programName(std::wstring path) {
    path = path.substr(path.find_last_of(L"\\/") + 1);
    if (path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".exe") == 0) {
        path.resize(path.size() - 4);
    }
    return path;
}

} // namespace

bool isLiveProcess(std::uint32_t id, const std::string& name) {
    if (id == 0) {
        return false;
    }
    const Handle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
    if (process == nullptr || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT) {
        return false;
    }
    if (name.empty()) {
        return true;
    }
    wchar_t path[MAX_PATH * 4];
    DWORD size = sizeof path / sizeof path[0];
    return QueryFullProcessImageNameW(process.get(), 0, path, &size) != 0 &&
           _wcsicmp(programName(std::wstring(path, size)).c_str(), toWide(name).c_str()) == 0;
}

bool isProgramRunning(const std::string& name) {
    const Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (snapshot.get() == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more != 0;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (_wcsicmp(programName(entry.szExeFile).c_str(), toWide(name).c_str()) == 0) {
            return true;
        }
    }
    return false;
}

std::string commandText(const Command& command) {
    return fromWide(commandLineOf(command));
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

bool runInPlace(const Command& command, const std::function<void(const std::string& note)>& started, int* status,
                std::string* err) {
    *status = 0;
    // The program gets the rest of this one's command line as it stands:
    // split and quoted again, some arguments would not come through the
    // same (two quotes in quotes, a lone surrogate).
    std::wstring line = commandLineOf(command);
    if (command.words.empty() || line.empty()) {
        *err = windowsMessage(ERROR_FILE_NOT_FOUND);
        return false;
    }
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
    // stand-ins and tools run without, as this program does. It starts
    // suspended, so that it is in the job before it can start others.
    const DWORD flags = (GetConsoleWindow() == nullptr ? CREATE_NO_WINDOW : 0) | CREATE_SUSPENDED;
    PROCESS_INFORMATION process{};
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, flags, nullptr, nullptr, &startup, &process) == 0) {
        *err = windowsMessage(GetLastError());
        return false;
    }
    const Handle thread(process.hThread);
    const Handle child(process.hProcess);
    // A launcher that stops this program (Steam's Stop ends the process it
    // started) stops the game with it. An outer job may forbid another.
    std::string note;
    Handle job = jobThatEndsWithUs(&note);
    if (job != nullptr && AssignProcessToJobObject(job.get(), child.get()) == 0) {
        note = windowsMessage(GetLastError());
        job.reset();
    }
    ResumeThread(thread.get());
    started(note);
    DWORD code = 0;
    WaitForSingleObject(child.get(), INFINITE);
    GetExitCodeProcess(child.get(), &code);
    *status = static_cast<int>(code);
    return true;
}
