#include "platform/registry.h"

// There is no registry here: programs keep their settings in files.

bool readRegistryText(RegistryRoot, const std::string&, const std::string&, std::string*) {
    return false;
}

std::vector<std::string> registrySubkeys(RegistryRoot, const std::string&, std::size_t) {
    return {};
}

bool readRegistryNumber(RegistryRoot, const std::string&, const std::string&, std::uint32_t*) {
    return false;
}
