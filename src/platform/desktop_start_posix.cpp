#include "platform/desktop_start.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

extern char** environ;

namespace {

bool isNullDevice(int descriptor) {
    struct stat status {};
    struct stat null {};
    return ::fstat(descriptor, &status) == 0 && ::stat("/dev/null", &null) == 0 && S_ISCHR(status.st_mode) &&
           status.st_rdev == null.st_rdev;
}

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// How each terminal is told which program to run in its window.
struct Terminal {
    std::string program;
    std::string runOption;
};

std::vector<Terminal> terminals() {
    std::vector<Terminal> found;
    // The one the desktop names, where it names one.
    if (isSet("TERMINAL")) {
        found.push_back(Terminal{std::getenv("TERMINAL"), "-e"});
    }
    const Terminal known[] = {{"x-terminal-emulator", "-e"}, {"konsole", "-e"}, {"gnome-terminal", "--"}, {"kgx", "--"},
                              {"xfce4-terminal", "-x"},      {"xterm", "-e"}};
    found.insert(found.end(), std::begin(known), std::end(known));
    return found;
}

// Starts the program with its arguments, looked up on PATH; its id in *child.
bool start(const std::vector<std::string>& command, pid_t* child) {
    std::vector<char*> arguments;
    for (const std::string& argument : command) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    return ::posix_spawnp(child, arguments[0], nullptr, nullptr, arguments.data(), environ) == 0;
}

// The message where a desktop user sees it: the first tool there shows it.
void showOnScreen(const std::string& title, const std::string& message) {
    const std::vector<std::vector<std::string>> tools = {
        {"notify-send", "--urgency=critical", title, message},
        {"kdialog", "--title", title, "--error", message},
        {"zenity", "--error", "--title=" + title, "--text=" + message}};
    for (const std::vector<std::string>& tool : tools) {
        pid_t child = 0;
        if (start(tool, &child)) {
            int status = 0;
            ::waitpid(child, &status, 0);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
                return;
            }
        }
    }
}

} // namespace

bool restartInTerminalWindow(const char* marker, const std::vector<std::string>& arguments) {
    if (::isatty(STDIN_FILENO) != 0 || ::isatty(STDOUT_FILENO) != 0 || !isNullDevice(STDIN_FILENO) ||
        (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) || isSet(marker)) {
        return false;
    }
    char self[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) {
        return false;
    }
    const std::string program(self, static_cast<std::size_t>(length));
    // The copy in the window must not start yet another window.
    ::setenv(marker, "1", 1);
    for (const Terminal& terminal : terminals()) {
        pid_t child = 0;
        std::vector<std::string> command{terminal.program, terminal.runOption, program};
        command.insert(command.end(), arguments.begin(), arguments.end());
        if (start(command, &child)) {
            return true;
        }
    }
    ::unsetenv(marker);

    const std::string name = program.substr(program.find_last_of('/') + 1);
    const std::string message = name +
                                " runs in a terminal window, and none could be started: install xterm or "
                                "konsole, or start " +
                                program + " from a terminal.";
    std::cerr << message << std::endl;
    showOnScreen(name, message);
    return false;
}
