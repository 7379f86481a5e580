// The messenger on Windows: its settings are the current user's registry, and the paths the
// window is given are already the messenger's own.
#include "app/registry/NativeRegistryStore.hpp"
#include "app/registry/SettingsPlace.hpp"

namespace registry {

bool PlacesCanBeNamed() {
    return false;
}

PlaceSearch FindSettingsPlaces(const std::optional<std::filesystem::path>&, std::string_view) {
    return {{SettingsPlace{{}, "Windows", SettingsPresence::kPresent}}, {}, true};
}

SettingsPlace PlaceOfFolder(const std::filesystem::path&, std::string_view) {
    return {{}, "Windows", SettingsPresence::kPresent};
}

std::unique_ptr<RegistryStore> StoreFor(const SettingsPlace&, std::string_view) {
    return std::make_unique<NativeRegistryStore>();
}

Result MessengerFileName(const SettingsPlace&, std::string_view location, std::string& out,
                         FileNameUse) {
    out = std::string(location);
    return Result::Success();
}

}  // namespace registry
