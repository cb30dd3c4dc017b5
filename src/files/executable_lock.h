#pragma once

#include <string>

#include "platform/file_system.h"

/// Makes this run the only one that backs up and patches the executable at
/// `path` until *lock is closed: a second run fails here, with *err saying
/// that the file is being patched. The lock ends with the handle, or with
/// the process however it ends, so no run leaves a stale one. On a file
/// system that has no locks the run goes on without one.
bool lockExecutable(const std::string& path, File* lock, std::string* err);
