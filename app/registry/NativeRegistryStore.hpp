// HKEY_CURRENT_USER through the Windows registry API, for Windows builds.
#pragma once

#include <cstddef>
#include <functional>

#include "app/registry/RegistryStore.hpp"

namespace registry {

class NativeRegistryStore final : public RegistryStore {
  public:
    struct Options {
        // Runs before the write with this index is made; returning false makes that write fail,
        // so a test can watch the earlier writes being taken back.
        std::function<bool(std::size_t)> beforeWrite;
    };

    NativeRegistryStore() = default;
    explicit NativeRegistryStore(Options options) : options_(std::move(options)) {}

    // The registry keeps no multi-value transaction of its own, so every key this call creates
    // and every value it replaces is remembered; when a later write fails they are put back as
    // they were, newest first, and the failure names the value that could not be stored.
    Result Apply(std::span<const StringWrite> writes) override;

  private:
    Options options_;
};

}  // namespace registry
