#include "files/executable_lock.h"

#include "files/open_refusal.h"

bool lockExecutable(const std::string& path, File* lock, std::string* err) {
    std::string reason;
    LockState state = LockState::Locked;
    Refusal refusal = Refusal::Other;
    if (!openForLocking(path, lock, &refusal, &reason)) {
        *err = openRefusalText(path, "lock", refusal, reason);
        return false;
    }
    if (!tryLockFile(lock->get(), &state, &reason)) {
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
