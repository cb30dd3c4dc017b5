#pragma once

#include <iostream>
#include <string>

/// Asks for the game's executable on the console, where the system has no
/// open-file dialog. Lists the copies of gorv.exe found under `home` and
/// reads a line from `in`: the number of a listed copy, or a path as typed
/// or pasted (a folder stands for the gorv.exe in it); asks again after a
/// path where no file is. Returns a full path, or kFailedPath when the
/// answer is empty (blank, or empty quotes) or `in` ends.
std::string askOnConsole(std::istream& in, std::ostream& out, const std::string& home);
