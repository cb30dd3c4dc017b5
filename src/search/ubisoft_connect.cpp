#include "search/ubisoft_connect.h"

#include "search/store_records.h"

std::vector<std::filesystem::path> ubisoftConnectFolders() {
    return foldersInRegistry("SOFTWARE\\WOW6432Node\\Ubisoft\\Launcher\\Installs", "InstallDir");
}
