// Wine prefixes in the usual places of Wine and of the launchers that make them, and whether
// the messenger's settings are in them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/SettingsPlace.hpp"

namespace registry {

// Where the launchers keep their prefixes and files; an empty one is worked out from the home.
struct SearchRoots {
    std::filesystem::path home;
    std::filesystem::path dataHome;      // $XDG_DATA_HOME, else home/.local/share
    std::filesystem::path configHome;    // $XDG_CONFIG_HOME, else home/.config
    std::filesystem::path winePrefixes;  // winetricks' $WINE_PREFIXES, else dataHome/wineprefixes
};

// From $HOME (else the password database), $XDG_DATA_HOME, $XDG_CONFIG_HOME and $WINE_PREFIXES.
SearchRoots SearchRootsFromEnvironment();

// A folder holding user.reg, system.reg and drive_c.
bool IsWinePrefix(const std::filesystem::path& folder);

// Whether the prefix's user hive has the key (single backslashes, any case); read only.
SettingsPresence HiveHasKey(const std::filesystem::path& prefix, std::string_view keyPath);

// Every prefix in the usual places of Wine and its launchers, and every prefix the launchers' own
// files name (Heroic's game settings, Lutris' game files, Bottles' bottles kept elsewhere, Steam's
// library folders), once each (links followed), in the order of the places, each named by the
// launcher whose place it was found in. A launcher file that cannot be read or understood only
// names fewer prefixes.
std::vector<SettingsPlace> DiscoverPrefixes(const SearchRoots& roots,
                                            std::string_view messengerKey);

// The usual places as the user would write them ("~/.wine", "~/Games/* (Lutris)", ...).
std::string DescribeSearchedPlaces(const SearchRoots& roots);

}  // namespace registry
