#include "platform/process.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

bool runInPlace(const std::vector<std::string>& command, int* status, std::string* err) {
    *status = 0;
    if (command.empty()) {
        *err = std::strerror(ENOENT);
        return false;
    }
    std::vector<char*> arguments;
    for (const std::string& argument : command) {
        arguments.push_back(const_cast<char*>(argument.c_str()));
    }
    arguments.push_back(nullptr);
    // Every file of the tool is closed by now, and opened close-on-exec
    // where it is opened by descriptor: the program inherits none of them.
    ::execvp(arguments[0], arguments.data());
    *err = std::strerror(errno);
    return false;
}
