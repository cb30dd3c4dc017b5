#pragma once

#include <string>
#include <vector>

// A console program started from a desktop, as a double-click in a file
// manager starts it: without a terminal, nobody could read or answer it.

enum class TerminalStart {
    NotNeeded, // a terminal is there, or nobody could see one
    Started,   // the program runs again in a window: this process is done
    Failed,    // a window was needed and none could be started
};

/// When this process has no terminal (neither standard input nor standard
/// output is one, and standard input is /dev/null) but a graphical session,
/// and the environment variable `marker` is not set, starts the program
/// again inside a terminal window, in the same working folder, with the
/// same `arguments` and with `marker` set. *program is this program's path,
/// for a message when that Failed. NotNeeded wherever the system gives
/// every console program a window of its own.
TerminalStart restartInTerminalWindow(const char* marker, const std::vector<std::string>& arguments,
                                      std::string* program);

/// What a message on the desktop tells: what something is for, or that
/// something failed (with the error's icon where the system has one).
enum class DesktopMessage { Information, Error };

/// Shows a message where a desktop user sees it, with the first tool for
/// that which is there and shows it; tools that read markup get the text
/// with its markup characters escaped. Nothing where there is none.
void showOnDesktop(const std::string& title, const std::string& message,
                   DesktopMessage kind = DesktopMessage::Information);

/// Asks a question with Yes and No on the desktop, where the system has a
/// box for it (Windows); true for Yes. False where there is none.
bool askOnDesktop(const std::string& title, const std::string& question);

/// The primary screen's size in pixels, as the system has it set now; false
/// where the system does not tell (Linux: a console program knows no
/// screen).
bool primaryScreenSize(unsigned* width, unsigned* height);
