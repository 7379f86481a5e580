// Helpers shared by the drawing calls; not part of the public interface.
#pragma once

#include <algorithm>
#include <cstdint>

#include "gdi/gdi.hpp"

namespace gdi::detail {

// A half-open box in 64-bit coordinates, so that sums of 32-bit inputs never overflow.
struct Box {
    std::int64_t x0 = 0;
    std::int64_t y0 = 0;
    std::int64_t x1 = 0;
    std::int64_t y1 = 0;
    bool empty() const { return x0 >= x1 || y0 >= y1; }
};

inline Box SurfaceBox(const Surface& s) {
    return {0, 0, s.width(), s.height()};
}

inline Box Intersect(const Box& a, const Box& b) {
    return {std::max(a.x0, b.x0), std::max(a.y0, b.y0), std::min(a.x1, b.x1), std::min(a.y1, b.y1)};
}

inline Box RectBox(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Fills [x0, x1) of row y, clipped to the surface.
inline void FillSpan(Surface& s, std::int64_t y, std::int64_t x0, std::int64_t x1,
                     std::uint32_t pixel) {
    if (y < 0 || y >= s.height()) return;
    x0 = std::max<std::int64_t>(x0, 0);
    x1 = std::min<std::int64_t>(x1, s.width());
    if (x0 >= x1) return;
    std::fill(s.row(static_cast<std::int32_t>(y)) + x0, s.row(static_cast<std::int32_t>(y)) + x1,
              pixel);
}

inline void FillBox(Surface& s, const Box& box, std::uint32_t pixel) {
    const Box b = Intersect(box, SurfaceBox(s));
    if (b.empty()) return;
    for (std::int64_t y = b.y0; y < b.y1; ++y) FillSpan(s, y, b.x0, b.x1, pixel);
}

inline void PutPixel(Surface& s, std::int64_t x, std::int64_t y, std::uint32_t pixel) {
    if (x >= 0 && y >= 0 && x < s.width() && y < s.height()) {
        s.row(static_cast<std::int32_t>(y))[x] = pixel;
    }
}

// Straight-alpha source over an opaque destination; the result is opaque.
inline std::uint32_t BlendOver(std::uint32_t dst, std::uint32_t src, std::uint32_t alpha) {
    if (alpha >= 255) return src | 0xFF000000u;
    if (alpha == 0) return dst | 0xFF000000u;
    const std::uint32_t inverse = 255 - alpha;
    auto channel = [&](int shift) {
        const std::uint32_t s = (src >> shift) & 0xFF;
        const std::uint32_t d = (dst >> shift) & 0xFF;
        return ((s * alpha + d * inverse + 127) / 255) << shift;
    };
    return 0xFF000000u | channel(16) | channel(8) | channel(0);
}

// Draws a line with a 1-pixel pen: start pixel in, end pixel out, clipped per pixel.
void DrawLine(Surface& s, POINT from, POINT to, std::uint32_t pixel);

// The pixel that destination index i of an extent d takes from a source extent s when
// enlarging: floor(((2i + 1) * s - 1) / (2d)). Also used as a nearest pick when shrinking images.
// Computed in 128 bits: (2i + 1) * s overflows 64 bits for absurd extents.
inline std::int64_t EnlargeIndex(std::int64_t i, std::int64_t s, std::int64_t d) {
    __extension__ using Wide = __int128;
    return std::int64_t((Wide(2 * i + 1) * s - 1) / (Wide(2) * d));
}

// Visible destination indices [first, last) of an extent placed at origin on a side of limit.
inline void VisibleIndices(std::int64_t origin, std::int64_t extent, std::int64_t limit,
                           std::int64_t& first, std::int64_t& last) {
    first = std::max<std::int64_t>(0, -origin);
    last = std::min<std::int64_t>(extent, limit - origin);
}

// Pixels of an image that a disabled DrawState embosses: at least half opaque, not exactly white.
bool IsInk(std::uint32_t pixel);
// Disabled DrawState in the layer's own system colours, in software.
void PaintDisabled(Surface& s, const Surface& image, std::int32_t x, std::int32_t y, std::int32_t w,
                   std::int32_t h);

}  // namespace gdi::detail
