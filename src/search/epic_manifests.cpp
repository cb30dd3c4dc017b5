#include "search/epic_manifests.h"

#include <algorithm>
#include <system_error>

#include "search/store_records.h"

namespace fs = std::filesystem;

namespace {

// Far more games than anyone installs; a folder of endless files is not
// read to its end.
constexpr std::size_t kMaxManifests = 4096;

} // namespace

std::vector<fs::path> epicInstallFolders(const fs::path& programData) {
    std::vector<fs::path> manifests;
    std::error_code error;
    const fs::path folder = programData / "Epic" / "EpicGamesLauncher" / "Data" / "Manifests";
    for (fs::directory_iterator it(folder, error), end; !error && it != end && manifests.size() < kMaxManifests;
         it.increment(error)) {
        if (it->path().extension() == ".item") {
            manifests.push_back(it->path());
        }
    }
    std::sort(manifests.begin(), manifests.end());
    std::vector<fs::path> folders;
    for (const fs::path& manifest : manifests) {
        addRecordedFolder(textMember(readJsonRecord(manifest), "InstallLocation"), &folders);
    }
    return folders;
}
