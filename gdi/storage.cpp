// Owned pixels in plain memory.
#include "gdi/storage.hpp"

#include <vector>

namespace gdi {

struct Surface::Storage {
    std::vector<std::uint32_t> pixels;
};

namespace detail {

std::shared_ptr<Surface::Storage> AllocateStorage(std::int32_t width, std::int32_t height,
                                                  std::uint32_t*& bits) {
    auto storage = std::make_shared<Surface::Storage>();
    storage->pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    bits = storage->pixels.data();
    return storage;
}

}  // namespace detail

}  // namespace gdi
