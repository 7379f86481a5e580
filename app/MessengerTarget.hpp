// Where "Change" writes: the place of the messenger's settings found at start, or the one the
// user picks when the search cannot tell, with the registry of that place and its names for
// files.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "app/registry/Registry.hpp"
#include "app/registry/SettingsPlace.hpp"

namespace vornik {

class MessengerTarget {
  public:
    using Search = std::function<registry::PlaceSearch()>;
    using MakeStore = std::function<std::unique_ptr<registry::RegistryStore>(
        const registry::SettingsPlace&, std::string_view lookedIn)>;
    using FolderPlace = std::function<registry::SettingsPlace(const std::filesystem::path&)>;

    // `search` runs once, on first need (it reads hives: the window runs it off its thread).
    // `folderPlace` makes the place of a folder the user picks instead of a listed one.
    explicit MessengerTarget(Search search, MakeStore makeStore = registry::StoreFor,
                             FolderPlace folderPlace = OfThisSystem);
    // Settled in advance on a registry written as it is (it must outlive the target); image
    // locations are taken as they are.
    explicit MessengerTarget(registry::Registry& registry);

    // This system's search for the messenger's settings, the folder named on the command line
    // first.
    static Search SearchOfThisSystem(std::optional<std::filesystem::path> named);
    static registry::SettingsPlace OfThisSystem(const std::filesystem::path& folder);

    bool Searched() const { return searched_.has_value(); }
    // Settles the place at once when the search leaves no doubt: one named by the user, the one
    // holding the settings, or none at all (then writing is refused, saying where it looked).
    void RunSearch();

    // No place settled yet: the user must choose before anything is written.
    bool NeedsChoice() const;
    std::span<const registry::SettingsPlace> Places() const;
    void Choose(const registry::PlacePick& pick);

    // The place writes go to; only when the search has run and no choice is pending.
    const registry::SettingsPlace& Place() const;
    registry::Registry& Registry();

    // The image location as the messenger opens it from the place (see MessengerFileName): for
    // writing now (a sandboxed prefix gets its copy), or to show in the text box.
    registry::Result FileName(std::string_view location, std::string& out) const;
    registry::Result ShownFileName(std::string_view location, std::string& out) const;

  private:
    registry::Result Name(std::string_view location, std::string& out,
                          registry::FileNameUse use) const;

    Search search_;
    MakeStore makeStore_;
    FolderPlace folderPlace_;
    std::optional<registry::PlaceSearch> searched_;
    std::optional<registry::SettingsPlace> chosen_;
    std::optional<registry::Registry> registry_;
    registry::Registry* given_ = nullptr;
};

}  // namespace vornik
