// Prefixes whose Wine runs in a sandbox (a Flatpak app, a Snap, Steam's container) see another
// file system than ours: their own /usr, and of the home only what the sandbox lets in.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/registry/Result.hpp"

namespace registry {

struct SandboxView {
    std::string kind;                            // "Flatpak", "Snap", "Steam"
    std::vector<std::filesystem::path> visible;  // folders of ours it sees at the same path
};

// The sandbox a prefix is used in, told by where it lies: a Flatpak app's data folder
// (~/.var/app/ID), a Snap's (~/snap/NAME), a Steam library's compatdata. Inside, only the app's
// own folder is sure to be there (for Steam: the home and the library); nullopt for a prefix
// used outside any sandbox.
std::optional<SandboxView> SandboxOf(const std::filesystem::path& prefix,
                                     const std::filesystem::path& home);

// Whether the file lies in a folder the sandbox sees (links resolved as far as they exist).
bool SandboxSees(const SandboxView& sandbox, const std::filesystem::path& file);

// Copies a plain file into the prefix's drive_c/vornik, under its own name or, when another file
// has that name, "name (2).gif" and so on: no file is overwritten, and a copy already there with
// the same bytes is used again. `copy` is the copy's path.
Result CopyIntoPrefix(const std::filesystem::path& prefix, const std::filesystem::path& file,
                      std::filesystem::path& copy);

}  // namespace registry
