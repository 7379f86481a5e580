// Wine prefixes in the usual places of Wine and of the launchers that make them, and whether
// the messenger's settings are in them.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/registry/SettingsPlace.hpp"

namespace registry {

struct SearchRoots {
    std::filesystem::path home;
    std::filesystem::path dataHome;  // $XDG_DATA_HOME, else home/.local/share
};

// From $HOME (else the password database) and $XDG_DATA_HOME.
SearchRoots SearchRootsFromEnvironment();

// A folder holding user.reg, system.reg and drive_c.
bool IsWinePrefix(const std::filesystem::path& folder);

// Whether the prefix's user hive has the key (single backslashes, any case); read only.
SettingsPresence HiveHasKey(const std::filesystem::path& prefix, std::string_view keyPath);

// Every prefix in the usual places, once each (links followed), in the order of the places.
std::vector<SettingsPlace> DiscoverPrefixes(const SearchRoots& roots,
                                            std::string_view messengerKey);

// The usual places as the user would write them ("~/.wine", "~/Games/* (Lutris)", ...).
std::string DescribeSearchedPlaces(const SearchRoots& roots);

}  // namespace registry
