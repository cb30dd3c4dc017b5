#include "files/open_refusal.h"

std::string openRefusalText(const std::string& path, const std::string& action, Refusal refusal,
                            const std::string& reason) {
    switch (refusal) {
    case Refusal::InUse:
        return path + " is in use by another program (is the game running? close it and run again): " + reason;
    case Refusal::ReadOnly: return path + " is read-only (clear Read-only in its Properties and run again): " + reason;
    case Refusal::Other: break;
    }
    return "could not " + action + " " + path + ": " + reason;
}
