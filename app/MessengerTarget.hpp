// Where "Change" writes: the place of the messenger's settings found at start, or the one the
// user picks when several hold them, with the registry of that place and its names for files.
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

    // `search` runs once, on first need (it reads hives: the window runs it off its thread).
    explicit MessengerTarget(Search search, MakeStore makeStore = registry::StoreFor);
    // Settled in advance on a registry written as it is (it must outlive the target); image
    // locations are taken as they are.
    explicit MessengerTarget(registry::Registry& registry);

    // This system's search for the messenger's settings, the folder named on the command line
    // first.
    static Search SearchOfThisSystem(std::optional<std::filesystem::path> named);

    bool Searched() const { return searched_.has_value(); }
    void RunSearch();

    // Several places and none picked yet: the user must choose before anything is written.
    bool NeedsChoice() const;
    std::span<const registry::SettingsPlace> Places() const;
    void Choose(std::size_t index);

    // The place writes go to; only when the search has run and no choice is pending.
    const registry::SettingsPlace& Place() const;
    registry::Registry& Registry();

    // The image location as the messenger opens it from the place (see MessengerFileName).
    registry::Result FileName(std::string_view location, std::string& out) const;

  private:
    Search search_;
    MakeStore makeStore_;
    std::optional<registry::PlaceSearch> searched_;
    std::optional<std::size_t> chosen_;
    std::optional<registry::Registry> registry_;
    registry::Registry* given_ = nullptr;
};

}  // namespace vornik
