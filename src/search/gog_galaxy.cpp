#include "search/gog_galaxy.h"

#include "search/store_records.h"

std::vector<std::filesystem::path> gogGalaxyFolders() {
    return foldersInRegistry("SOFTWARE\\WOW6432Node\\GOG.com\\Games", "path");
}
