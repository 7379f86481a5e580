// Where the messenger keeps its settings on this system and how it names files there: Wine
// prefixes on Linux, the registry itself on Windows. One header, one source per platform.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/RegistryStore.hpp"
#include "app/registry/Result.hpp"

namespace registry {

enum class SettingsPresence { kPresent, kAbsent, kUnreadable };

struct SettingsPlace {
    std::filesystem::path folder;  // the Wine prefix; empty for the Windows registry
    std::string origin;            // who made or named it: "Lutris", "--prefix", "WINEPREFIX", ...
    SettingsPresence messenger = SettingsPresence::kAbsent;
};

struct PlaceSearch {
    // One place is used as it is; from several the user picks one before anything is written.
    std::vector<SettingsPlace> places;
    // Where the search looked, for the report when the place turns out to hold no prefix.
    std::string lookedIn;
};

// Whether the user can name the place on the command line (a Wine prefix folder).
bool PlacesCanBeNamed();

// The place named on the command line, else the one WINEPREFIX names, else the usual places of
// Wine and its launchers: the one holding `messengerKey` (below HKEY_CURRENT_USER), all of them
// when several do, ~/.wine when none does. Reads hives without locking or changing them.
PlaceSearch FindSettingsPlaces(const std::optional<std::filesystem::path>& named,
                               std::string_view messengerKey);

// The store that writes the current user's registry of `place`.
std::unique_ptr<RegistryStore> StoreFor(const SettingsPlace& place, std::string_view lookedIn);

// The image location as the messenger running in `place` opens it: an absolute path of this
// system becomes the drive-letter path that reaches it; any other text is kept as it is.
// Fails, naming the path, when no drive of the place reaches it.
Result MessengerFileName(const SettingsPlace& place, std::string_view location, std::string& out);

}  // namespace registry
