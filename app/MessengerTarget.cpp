#include "app/MessengerTarget.hpp"

#include <stdexcept>
#include <utility>

#include "app/PatchCommand.hpp"

namespace vornik {

MessengerTarget::MessengerTarget(Search search, MakeStore makeStore, FolderPlace folderPlace)
    : search_(std::move(search)),
      makeStore_(std::move(makeStore)),
      folderPlace_(std::move(folderPlace)) {}

MessengerTarget::MessengerTarget(registry::Registry& registry)
    : search_([] {
          return registry::PlaceSearch{
              {{{}, "the registry", registry::SettingsPresence::kPresent}}, {}, true};
      }),
      given_(&registry) {
    RunSearch();
}

MessengerTarget::Search MessengerTarget::SearchOfThisSystem(
    std::optional<std::filesystem::path> named) {
    return [named = std::move(named)] {
        // The messenger's own key; its tab and banner keys all lie below it.
        return registry::FindSettingsPlaces(named, kMessengerKey);
    };
}

registry::SettingsPlace MessengerTarget::OfThisSystem(const std::filesystem::path& folder) {
    return registry::PlaceOfFolder(folder, kMessengerKey);
}

void MessengerTarget::RunSearch() {
    if (!searched_) searched_ = search_();
    if (chosen_) return;
    const auto& places = searched_->places;
    if (places.empty()) {
        // No prefix anywhere: the store of no folder refuses, naming where the search looked.
        chosen_ = registry::SettingsPlace{{}, {}, registry::SettingsPresence::kAbsent};
    } else if (places.size() == 1 &&
               (searched_->settled ||
                places.front().messenger == registry::SettingsPresence::kPresent)) {
        chosen_ = places.front();
    }
}

bool MessengerTarget::NeedsChoice() const {
    return searched_ && !chosen_;
}

std::span<const registry::SettingsPlace> MessengerTarget::Places() const {
    if (!searched_) return {};
    return searched_->places;
}

void MessengerTarget::Choose(const registry::PlacePick& pick) {
    if (!searched_) throw std::logic_error("the places of the messenger's settings are not known");
    if (!pick.index) {
        chosen_ = folderPlace_(pick.folder);
    } else if (*pick.index < searched_->places.size()) {
        chosen_ = searched_->places[*pick.index];
    } else {
        throw std::out_of_range("no such place of the messenger's settings");
    }
    registry_.reset();
}

const registry::SettingsPlace& MessengerTarget::Place() const {
    if (!chosen_) throw std::logic_error("the place of the settings is not settled");
    return *chosen_;
}

registry::Registry& MessengerTarget::Registry() {
    if (given_ != nullptr) return *given_;
    if (!registry_) registry_.emplace(makeStore_(Place(), searched_->lookedIn));
    return *registry_;
}

registry::Result MessengerTarget::FileName(std::string_view location, std::string& out) const {
    return Name(location, out, registry::FileNameUse::kWrite);
}

registry::Result MessengerTarget::ShownFileName(std::string_view location, std::string& out) const {
    return Name(location, out, registry::FileNameUse::kShow);
}

registry::Result MessengerTarget::Name(std::string_view location, std::string& out,
                                       registry::FileNameUse use) const {
    if (given_ != nullptr) {
        out = std::string(location);
        return registry::Result::Success();
    }
    return registry::MessengerFileName(Place(), location, out, use);
}

}  // namespace vornik
