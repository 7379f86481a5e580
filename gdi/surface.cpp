// Surfaces and the USER rectangle helpers.
#include <algorithm>
#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "gdi/gdi.hpp"
#include "gdi/storage.hpp"

namespace gdi {

namespace {

// Windows rectangle arithmetic wraps on overflow; do the same without signed overflow.
std::int32_t WrappingAdd(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t WrappingSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

void CheckSide(std::int32_t side, const char* what) {
    if (side < 0 || side > kMaxSurfaceSide) {
        throw Error(std::string("surface ") + what + " " + std::to_string(side) +
                    " is outside 0.." + std::to_string(kMaxSurfaceSide));
    }
}

}  // namespace

bool InflateRect(RECT& r, std::int32_t dx, std::int32_t dy) {
    r.left = WrappingSub(r.left, dx);
    r.top = WrappingSub(r.top, dy);
    r.right = WrappingAdd(r.right, dx);
    r.bottom = WrappingAdd(r.bottom, dy);
    return true;
}

bool OffsetRect(RECT& r, std::int32_t dx, std::int32_t dy) {
    r.left = WrappingAdd(r.left, dx);
    r.top = WrappingAdd(r.top, dy);
    r.right = WrappingAdd(r.right, dx);
    r.bottom = WrappingAdd(r.bottom, dy);
    return true;
}

bool CopyRect(RECT& dst, const RECT& src) {
    dst = src;
    return true;
}

bool IsRectEmpty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

Surface::Surface(std::int32_t width, std::int32_t height) {
    CheckSide(width, "width");
    CheckSide(height, "height");
    width_ = width;
    height_ = height;
    stride_ = width;
    if (width == 0 || height == 0) return;
    storage_ = detail::AllocateStorage(width, height, data_);
    fill(0xFF000000u);
}

Surface::Surface(std::uint32_t* external, std::int32_t width, std::int32_t height,
                 std::int32_t stride) {
    CheckSide(width, "width");
    CheckSide(height, "height");
    if (stride < width) throw Error("surface stride is smaller than its width");
    if (external == nullptr && width > 0 && height > 0) {
        throw Error("surface wraps no memory");
    }
    data_ = (width > 0 && height > 0) ? external : nullptr;
    width_ = data_ ? width : 0;
    height_ = data_ ? height : 0;
    stride_ = data_ ? stride : 0;
}

Surface::Surface(Surface&& other) noexcept
    : storage_(std::move(other.storage_)),
      data_(std::exchange(other.data_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      stride_(std::exchange(other.stride_, 0)) {}

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this != &other) {
        storage_ = std::move(other.storage_);
        data_ = std::exchange(other.data_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
        stride_ = std::exchange(other.stride_, 0);
    }
    return *this;
}

Surface Surface::Clone() const {
    Surface copy(width_, height_);
    for (std::int32_t y = 0; y < height_; ++y) {
        std::memcpy(copy.row(y), row(y), static_cast<std::size_t>(width_) * sizeof(std::uint32_t));
    }
    return copy;
}

std::uint32_t Surface::at(std::int32_t x, std::int32_t y) const {
    return contains(x, y) ? row(y)[x] : 0u;
}

void Surface::set(std::int32_t x, std::int32_t y, std::uint32_t pixel) {
    if (contains(x, y)) row(y)[x] = pixel;
}

void Surface::fill(std::uint32_t pixel) {
    for (std::int32_t y = 0; y < height_; ++y) std::fill_n(row(y), width_, pixel);
}

}  // namespace gdi
