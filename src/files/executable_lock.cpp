#include "files/executable_lock.h"

bool lockExecutable(const std::string& path, File* lock, std::string* err) {
    std::string reason;
    LockState state = LockState::Locked;
    if (!openForLocking(path, lock, &reason) || !tryLockFile(lock->get(), &state, &reason)) {
        *err = "could not lock " + path + ": " + reason;
        return false;
    }
    if (state == LockState::Held) {
        *err = path + " is being patched by another run";
        return false;
    }
    // A file system without locks (NFS without its lock service) leaves only
    // the guard against two runs at once: the backup stays whole either way.
    return true;
}
