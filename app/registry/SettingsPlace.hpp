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
    // The one place to use, or those the user picks from before anything is written.
    std::vector<SettingsPlace> places;
    // Where the search looked, for the report when it found no prefix at all.
    std::string lookedIn;
    // places[0] is used without asking: the user named it, or it is the one holding the settings.
    bool settled = false;
};

// What the user picked when asked which place to change: a row of the places offered, or a
// folder of their own.
struct PlacePick {
    PlacePick(std::size_t row) : index(row) {}  // NOLINT: a row is a pick
    explicit PlacePick(std::filesystem::path chosen) : folder(std::move(chosen)) {}
    std::optional<std::size_t> index;
    std::filesystem::path folder;  // when index is empty
};

// Whether the user can name the place on the command line (a Wine prefix folder).
bool PlacesCanBeNamed();

// The place named on the command line, else the one WINEPREFIX names, else the usual places of
// Wine and its launchers: the one holding `messengerKey` (below HKEY_CURRENT_USER), settled; else
// every prefix found (those holding it first), for the user to pick from; none when there is
// none anywhere. Never a guess. Reads hives without locking or changing them.
PlaceSearch FindSettingsPlaces(const std::optional<std::filesystem::path>& named,
                               std::string_view messengerKey);

// The store that writes the current user's registry of `place`.
std::unique_ptr<RegistryStore> StoreFor(const SettingsPlace& place, std::string_view lookedIn);

// The place the user picked from a folder of their own (whether it holds the settings is read).
SettingsPlace PlaceOfFolder(const std::filesystem::path& folder, std::string_view messengerKey);

// Whether a file name is worked out for the text box only, or to be written now.
enum class FileNameUse { kShow, kWrite };

// The image location as the messenger running in `place` opens it: an absolute path of this
// system becomes the drive-letter path that reaches it, as Wine makes it; any other text is kept
// as it is. Fails, naming the path, when no drive of the place reaches it, or naming the name
// and its character when no Windows program could open it. A prefix used in a sandbox that
// cannot see the file gets a copy of it (kWrite only; kShow keeps the path as it is).
Result MessengerFileName(const SettingsPlace& place, std::string_view location, std::string& out,
                         FileNameUse use = FileNameUse::kWrite);

}  // namespace registry
