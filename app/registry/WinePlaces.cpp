// The messenger under Wine: its settings are in a prefix's user hive, its files are reached
// through the prefix's drive letters.
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

#include "app/registry/DrivePath.hpp"
#include "app/registry/PrefixDiscovery.hpp"
#include "app/registry/Sandbox.hpp"
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

const char* kNothingChanged = " Nothing was changed.";

}  // namespace

bool PlacesCanBeNamed() {
    return true;
}

PlaceSearch FindSettingsPlaces(const std::optional<fs::path>& named,
                               std::string_view messengerKey) {
    if (named) return {{NamedPlace(*named, "--prefix", messengerKey)}, {}, true};
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) {
        return {{NamedPlace(prefix, "WINEPREFIX", messengerKey)}, {}, true};
    }
    const SearchRoots roots = SearchRootsFromEnvironment();
    PlaceSearch search;
    search.lookedIn = DescribeSearchedPlaces(roots);
    std::vector<SettingsPlace> found = DiscoverPrefixes(roots, messengerKey);
    const auto holds = [](const SettingsPlace& p) {
        return p.messenger == SettingsPresence::kPresent;
    };
    if (std::count_if(found.begin(), found.end(), holds) == 1) {
        search.places.push_back(*std::find_if(found.begin(), found.end(), holds));
        search.settled = true;
        return search;
    }
    std::stable_partition(found.begin(), found.end(), holds);
    search.places = std::move(found);
    return search;
}

SettingsPlace PlaceOfFolder(const fs::path& folder, std::string_view messengerKey) {
    return NamedPlace(folder, "chosen folder", messengerKey);
}

std::unique_ptr<RegistryStore> StoreFor(const SettingsPlace& place, std::string_view lookedIn) {
    WineHiveStore::Options options;
    options.lookedIn = std::string(lookedIn);
    return std::make_unique<WineHiveStore>(place.folder, std::move(options));
}

Result MessengerFileName(const SettingsPlace& place, std::string_view location, std::string& out,
                         FileNameUse use) {
    out = std::string(location);
    // Only an absolute path of this system needs a drive; a missing prefix is reported by the
    // store, which refuses before anything is written.
    if (location.empty() || location.front() != '/' || !IsFolder(place.folder)) {
        return Result::Success();
    }
    const std::string quoted = "\"" + std::string(location) + "\"";
    const std::optional<DriveLocation> drive = FindDrive(place.folder, location);
    if (!drive) {
        return Result::Failure(
            ErrorKind::kInvalidArgument,
            "The messenger cannot open " + quoted + ": no drive of the Wine prefix \"" +
                place.folder.string() +
                "\" leads there. Choose an image inside the prefix's drive_c folder or on one of "
                "its drives (winecfg, Drives tab)." +
                kNothingChanged);
    }
    if (const std::optional<NameProblem> problem = UnopenableName(drive->rest)) {
        return Result::Failure(ErrorKind::kInvalidArgument,
                               "The messenger cannot open " + quoted +
                                   ": no Windows program can "
                                   "open a file by the name \"" +
                                   problem->name + "\", which has " + problem->what +
                                   ". Rename it or choose another image." + kNothingChanged);
    }
    const std::optional<SandboxView> sandbox =
        SandboxOf(place.folder, SearchRootsFromEnvironment().home);
    if (sandbox && !SandboxSees(*sandbox, fs::path(location))) {
        // The text box keeps the path until "Change" makes the copy and shows its name.
        if (use == FileNameUse::kShow) return Result::Success();
        fs::path copy;
        if (Result copied = CopyIntoPrefix(place.folder, fs::path(location), copy); !copied) {
            return copied;
        }
        if (std::optional<std::string> drivePath = DrivePathInPrefix(place.folder, copy.string())) {
            out = std::move(*drivePath);
            return Result::Success();
        }
        return Result::Failure(ErrorKind::kInvalidArgument,
                               "The copy " + copy.string() + " of " + quoted +
                                   " is on no drive of the Wine prefix (its C: drive is missing)." +
                                   kNothingChanged);
    }
    out = WindowsPath(*drive);
    return Result::Success();
}

}  // namespace registry
