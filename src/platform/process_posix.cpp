#include "platform/process.h"

#include <dirent.h>
#include <signal.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "platform/standard_streams.h"

std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

std::string programPath() {
    char self[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    return length > 0 ? std::string(self, static_cast<std::size_t>(length)) : "";
}

std::string environmentVariable(const char* name) {
    const char* const value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::string userStateFolder() {
    const std::string state = environmentVariable("XDG_STATE_HOME");
    // A relative path there is ignored, as the XDG base directories have it.
    if (!state.empty() && state[0] == '/') {
        return state;
    }
    const std::string home = environmentVariable("HOME");
    return home.empty() ? "" : home + "/.local/state";
}

std::string userProgramFolder(const std::string&) {
    const std::string home = environmentVariable("HOME");
    return home.empty() ? "" : home + "/.local/bin";
}

std::vector<std::string> launchProgramNames(const std::string& name) {
    return {name};
}

std::string launchLineWord(const std::string& program) {
    return commandText(Command{{program}, 0});
}

namespace {

// The name that /proc gives the process `id`: its program's, cut to 15
// bytes by the kernel; empty when there is no such process.
std::string processName(const std::string& id) {
    // The kernel makes the file as it is read: it has no size to go by.
    std::ifstream file("/proc/" + id + "/comm");
    std::string name;
    std::getline(file, name);
    return name;
}

bool isNamed(const std::string& actual, const std::string& name) {
    return actual == name.substr(0, 15);
}

} // namespace

bool isLiveProcess(std::uint32_t id, const std::string& name) {
    if (id == 0 || id > static_cast<std::uint32_t>(INT_MAX)) {
        return false;
    }
    if (name.empty()) {
        return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
    }
    return isNamed(processName(std::to_string(id)), name);
}

bool isProgramRunning(const std::string& name) {
    const std::unique_ptr<DIR, int (*)(DIR*)> processes(::opendir("/proc"), ::closedir);
    if (processes == nullptr) {
        return false;
    }
    while (const dirent* entry = ::readdir(processes.get())) {
        const std::string id = entry->d_name;
        if (id.find_first_not_of("0123456789") == std::string::npos && isNamed(processName(id), name)) {
            return true;
        }
    }
    return false;
}

std::string commandText(const Command& command) {
    std::string line;
    for (const std::string& word : command.words) {
        line += line.empty() ? "" : " ";
        const bool plain =
            !word.empty() && word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"
                                                    "0123456789_@%+=:,./-") == std::string::npos;
        if (plain) {
            line += word;
            continue;
        }
        line += '\'';
        for (const char c : word) {
            line += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        line += '\'';
    }
    return line;
}

bool runInPlace(const Command& command, const std::function<void(const std::string& note)>&, int* status,
                std::string* err) {
    *status = 0;
    if (command.words.empty()) {
        *err = std::strerror(ENOENT);
        return false;
    }
    // Leading NAME=value words set the program's environment, as env and a
    // shell take them: a name of letters, digits and _, not starting with a
    // digit.
    std::size_t program = 0;
    for (; program < command.words.size(); ++program) {
        const std::string& word = command.words[program];
        const std::size_t equals = word.find('=');
        if (equals == 0 || equals == std::string::npos || std::isdigit(static_cast<unsigned char>(word[0])) != 0 ||
            word.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_") < equals) {
            break;
        }
    }
    if (program == command.words.size()) {
        *err = "there is no program after its environment settings";
        return false;
    }
    for (std::size_t i = 0; i < program; ++i) {
        const std::string& word = command.words[i];
        const std::size_t equals = word.find('=');
        if (::setenv(word.substr(0, equals).c_str(), word.c_str() + equals + 1, 1) != 0) {
            *err = std::strerror(errno);
            return false;
        }
    }
    std::vector<char*> arguments;
    for (std::size_t i = program; i < command.words.size(); ++i) {
        arguments.push_back(const_cast<char*>(command.words[i].c_str()));
    }
    arguments.push_back(nullptr);
    // Every file of the tool is closed by now, and opened close-on-exec
    // where it is opened by descriptor: the program inherits none of them.
    // It meets a pipe without a reader as its launcher meant it to.
    restoreBrokenPipeHandling();
    ::execvp(arguments[0], arguments.data());
    const int error = errno;
    // Back to this program's own handling, for the message that follows.
    guardStandardStreams();
    *err = std::strerror(error);
    return false;
}
