// Two-vertex rectangle gradients.
#include <algorithm>
#include <utility>
#include <vector>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

namespace {

// channel = ((c0 * (len - pos) + c1 * pos) / len) / 256, truncating at each division, so the
// last column stops one step short of the end colour.
std::uint32_t Channel(std::int64_t c0, std::int64_t c1, std::int64_t pos, std::int64_t len) {
    return static_cast<std::uint32_t>(((c0 * (len - pos) + c1 * pos) / len) / 256);
}

std::uint32_t GradientPixel(const TRIVERTEX& v0, const TRIVERTEX& v1, std::int64_t pos,
                            std::int64_t len) {
    const std::uint32_t r = Channel(v0.Red, v1.Red, pos, len);
    const std::uint32_t g = Channel(v0.Green, v1.Green, pos, len);
    const std::uint32_t b = Channel(v0.Blue, v1.Blue, pos, len);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

}  // namespace

bool DeviceContext::GradientFill(const TRIVERTEX& a, const TRIVERTEX& b, std::uint32_t mode) {
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return false;
    const bool horizontal = mode == GRADIENT_FILL_RECT_H;
    const bool swap = horizontal ? b.x < a.x : b.y < a.y;
    const TRIVERTEX& v0 = swap ? b : a;
    const TRIVERTEX& v1 = swap ? a : b;

    const detail::Box area{std::min<std::int64_t>(a.x, b.x), std::min<std::int64_t>(a.y, b.y),
                           std::max<std::int64_t>(a.x, b.x), std::max<std::int64_t>(a.y, b.y)};
    if (area.empty()) return true;
    const detail::Box visible = detail::Intersect(area, detail::SurfaceBox(*surface_));
    if (visible.empty()) return true;

    if (horizontal) {
        // Every row of a horizontal gradient is the same: work it out once, copy it down.
        const std::int64_t len = area.x1 - area.x0;
        std::vector<std::uint32_t> row;
        row.reserve(static_cast<std::size_t>(visible.x1 - visible.x0));
        for (std::int64_t x = visible.x0; x < visible.x1; ++x) {
            row.push_back(GradientPixel(v0, v1, x - area.x0, len));
        }
        for (std::int64_t y = visible.y0; y < visible.y1; ++y) {
            std::copy(row.begin(), row.end(),
                      surface_->row(static_cast<std::int32_t>(y)) + visible.x0);
        }
    } else {
        const std::int64_t len = area.y1 - area.y0;
        for (std::int64_t y = visible.y0; y < visible.y1; ++y) {
            detail::FillSpan(*surface_, y, visible.x0, visible.x1,
                             GradientPixel(v0, v1, y - area.y0, len));
        }
    }
    return true;
}

}  // namespace gdi
