#include "platform/desktop_start.h"

#include "platform/process.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
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

// A command as a shell reads a simple command, without expansions: words
// split at blanks, quotes ('...' and "...") and backslashes kept out.
std::vector<std::string> shellWords(const std::string& command) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    char quote = 0;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char c = command[i];
        const bool escapes = c == '\\' && quote != '\'' && i + 1 < command.size() &&
                             (quote == 0 || std::string("\"\\$`").find(command[i + 1]) != std::string::npos);
        if (escapes) {
            word += command[++i];
            inWord = true;
        } else if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == 0 && (c == '\'' || c == '"')) {
            quote = c;
            inWord = true;
        } else if (quote == 0 && (c == ' ' || c == '\t' || c == '\n')) {
            if (inWord) {
                words.push_back(word);
            }
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(word);
    }
    return words;
}

// How each terminal is told which program to run in its window: the
// terminal's command, then the option that the program's command follows.
struct Terminal {
    std::vector<std::string> command;
    std::string runOption;
};

std::vector<Terminal> terminals() {
    std::vector<Terminal> found;
    // The one the desktop names, where it names one, with its options.
    if (isSet("TERMINAL")) {
        const std::vector<std::string> words = shellWords(std::getenv("TERMINAL"));
        if (!words.empty()) {
            found.push_back(Terminal{words, "-e"});
        }
    }
    const Terminal known[] = {{{"x-terminal-emulator"}, "-e"}, {{"konsole"}, "-e"},
                              {{"gnome-terminal"}, "--"},      {{"kgx"}, "--"},
                              {{"xfce4-terminal"}, "-x"},      {{"xterm"}, "-e"}};
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

// The text as markup that shows it as it is (notify-send, kdialog and
// zenity read markup in their messages).
std::string escapedMarkup(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

} // namespace

TerminalStart restartInTerminalWindow(const char* marker, const std::vector<std::string>& arguments,
                                      std::string* program) {
    if (::isatty(STDIN_FILENO) != 0 || ::isatty(STDOUT_FILENO) != 0 || !isNullDevice(STDIN_FILENO) ||
        (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) || isSet(marker)) {
        return TerminalStart::NotNeeded;
    }
    *program = programPath();
    if (program->empty()) {
        return TerminalStart::NotNeeded;
    }
    // The copy in the window must not start yet another window.
    ::setenv(marker, "1", 1);
    for (const Terminal& terminal : terminals()) {
        pid_t child = 0;
        std::vector<std::string> command = terminal.command;
        command.push_back(terminal.runOption);
        command.push_back(*program);
        command.insert(command.end(), arguments.begin(), arguments.end());
        if (start(command, &child)) {
            return TerminalStart::Started;
        }
    }
    ::unsetenv(marker);
    return TerminalStart::Failed;
}

void showOnDesktop(const std::string& title, const std::string& message, DesktopMessage) {
    // Every tool here shows it as an error: on Linux only failures are shown.
    const std::string markup = escapedMarkup(message);
    // kdialog takes text for markup only when it starts with <qt>.
    const std::vector<std::vector<std::string>> tools = {
        {"notify-send", "--urgency=critical", title, markup},
        {"kdialog", "--title", title, "--error", "<qt>" + markup + "</qt>"},
        {"zenity", "--error", "--title=" + title, "--text=" + markup}};
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

bool askOnDesktop(const std::string&, const std::string&) {
    return false;
}

bool primaryScreenSize(unsigned*, unsigned*) {
    return false;
}
