#include "app/MessengerTarget.hpp"

#include <stdexcept>
#include <utility>

#include "app/PatchCommand.hpp"

namespace vornik {

MessengerTarget::MessengerTarget(Search search, MakeStore makeStore)
    : search_(std::move(search)), makeStore_(std::move(makeStore)) {}

MessengerTarget::MessengerTarget(registry::Registry& registry)
    : search_([] {
          return registry::PlaceSearch{{{{}, "the registry", registry::SettingsPresence::kPresent}},
                                       {}};
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

void MessengerTarget::RunSearch() {
    if (!searched_) searched_ = search_();
    if (searched_->places.empty()) throw std::logic_error("a settings search found no place");
    if (searched_->places.size() == 1) chosen_ = 0;
}

bool MessengerTarget::NeedsChoice() const {
    return searched_ && !chosen_;
}

std::span<const registry::SettingsPlace> MessengerTarget::Places() const {
    if (!searched_) return {};
    return searched_->places;
}

void MessengerTarget::Choose(std::size_t index) {
    if (!searched_ || index >= searched_->places.size()) {
        throw std::out_of_range("no such place of the messenger's settings");
    }
    chosen_ = index;
}

const registry::SettingsPlace& MessengerTarget::Place() const {
    if (!searched_ || !chosen_) throw std::logic_error("the place of the settings is not settled");
    return searched_->places[*chosen_];
}

registry::Registry& MessengerTarget::Registry() {
    if (given_ != nullptr) return *given_;
    if (!registry_) registry_.emplace(makeStore_(Place(), searched_->lookedIn));
    return *registry_;
}

registry::Result MessengerTarget::FileName(std::string_view location, std::string& out) const {
    if (given_ != nullptr) {
        out = std::string(location);
        return registry::Result::Success();
    }
    return registry::MessengerFileName(Place(), location, out);
}

}  // namespace vornik
