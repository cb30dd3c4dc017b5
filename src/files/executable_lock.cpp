#include "files/executable_lock.h"

bool lockExecutable(const std::string& path, File* lock, std::string* err) {
    std::string reason;
    bool locked = false;
    if (!openForReading(path, lock, &reason) || !tryLockFile(lock->get(), &locked, &reason)) {
        *err = "could not lock " + path + ": " + reason;
        return false;
    }
    if (!locked) {
        *err = path + " is being patched by another run";
        return false;
    }
    return true;
}
