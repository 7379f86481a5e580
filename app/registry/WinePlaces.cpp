// The messenger under Wine: its settings are in a prefix's user hive, its files are reached
// through the prefix's drive letters.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "app/registry/DrivePath.hpp"
#include "app/registry/PrefixDiscovery.hpp"
#include "app/registry/SettingsPlace.hpp"
#include "app/registry/WineHiveStore.hpp"

namespace registry {
namespace {

namespace fs = std::filesystem;

SettingsPlace NamedPlace(const fs::path& folder, std::string origin, std::string_view key) {
    const SettingsPresence presence =
        IsWinePrefix(folder) ? HiveHasKey(folder, key) : SettingsPresence::kAbsent;
    return {folder, std::move(origin), presence};
}

bool IsFolder(const fs::path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

bool PlacesCanBeNamed() {
    return true;
}

PlaceSearch FindSettingsPlaces(const std::optional<fs::path>& named,
                               std::string_view messengerKey) {
    if (named) return {{NamedPlace(*named, "--prefix", messengerKey)}, {}};
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) {
        return {{NamedPlace(prefix, "WINEPREFIX", messengerKey)}, {}};
    }
    const SearchRoots roots = SearchRootsFromEnvironment();
    PlaceSearch search;
    search.lookedIn = DescribeSearchedPlaces(roots);
    std::vector<SettingsPlace> found = DiscoverPrefixes(roots, messengerKey);
    const auto holds = [](const SettingsPlace& p) {
        return p.messenger == SettingsPresence::kPresent;
    };
    const auto withSettings = std::count_if(found.begin(), found.end(), holds);
    if (withSettings == 1) {
        search.places.push_back(*std::find_if(found.begin(), found.end(), holds));
    } else if (withSettings > 1) {
        std::stable_partition(found.begin(), found.end(), holds);
        search.places = std::move(found);
    } else {
        const fs::path fallback = roots.home.empty() ? fs::path() : roots.home / ".wine";
        search.places.push_back({fallback, "Wine", SettingsPresence::kAbsent});
    }
    return search;
}

std::unique_ptr<RegistryStore> StoreFor(const SettingsPlace& place, std::string_view lookedIn) {
    WineHiveStore::Options options;
    options.lookedIn = std::string(lookedIn);
    return std::make_unique<WineHiveStore>(place.folder, std::move(options));
}

Result MessengerFileName(const SettingsPlace& place, std::string_view location, std::string& out) {
    out = std::string(location);
    // Only an absolute path of this system needs a drive; a missing prefix is reported by the
    // store, which refuses before anything is written.
    if (location.empty() || location.front() != '/' || !IsFolder(place.folder)) {
        return Result::Success();
    }
    if (std::optional<std::string> drivePath = DrivePathInPrefix(place.folder, location)) {
        out = std::move(*drivePath);
        return Result::Success();
    }
    return Result::Failure(
        ErrorKind::kInvalidArgument,
        "The messenger cannot open \"" + std::string(location) +
            "\": no drive of the Wine prefix \"" + place.folder.string() +
            "\" leads there. Choose an image inside the prefix's drive_c folder or on one of its "
            "drives (winecfg, Drives tab). Nothing was changed.");
}

}  // namespace registry
