// Where an owned surface keeps its pixels; one source per platform.
#pragma once

#include <cstdint>
#include <memory>

#include "gdi/gdi.hpp"

namespace gdi::detail {

// Allocates width x height 32-bit pixels (both sides above zero, stride = width) and points bits
// at the first row. Throws Error when the platform refuses.
std::shared_ptr<Surface::Storage> AllocateStorage(std::int32_t width, std::int32_t height,
                                                  std::uint32_t*& bits);

}  // namespace gdi::detail
