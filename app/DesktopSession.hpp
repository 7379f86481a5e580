// What the program needs of the desktop it starts in: a display to show its window on, and the
// folder its own files were installed to. One header, one source per platform.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace vornik {

// nullopt when a window can be shown; otherwise why not, in words for the user.
std::optional<std::string> MissingDisplay();

// The folder of the blank image "noad.gif" that comes with the program, worked out from the
// folder of the program itself; empty when it is not there.
std::filesystem::path BlankImageFolder(const std::filesystem::path& programFolder);

}  // namespace vornik
