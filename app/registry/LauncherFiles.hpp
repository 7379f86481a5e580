// The few values Vornik reads from the launchers' own files, where they name a Wine prefix or a
// folder of them. Each reader takes whatever it can from any text: a damaged, cut-off or foreign
// file gives fewer values, never an error.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace registry {

// Every string value of `key` in JSON text, at any depth ("winePrefix" in a game's settings).
std::vector<std::string> JsonStringValues(std::string_view text, std::string_view key);

// The scalar `key` of a YAML block mapping: a top-level one when `section` is empty, else one
// directly inside the top-level `section` ("game:" then "  prefix: /home/me/Games/x").
std::optional<std::string> YamlValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The folders a Valve KeyValues file lists as libraries: every "path" value, and the values of
// numbered keys that are absolute paths (the older layout of libraryfolders.vdf).
std::vector<std::string> VdfLibraryPaths(std::string_view text);

// The start of a text file (at most `limit` bytes); empty when it cannot be read.
std::string ReadSmallFile(const std::filesystem::path& file, std::size_t limit = 1 << 20);

}  // namespace registry
