// USER rectangles: fill, one-pixel frame and the dotted focus rectangle.
#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

// Inverted rectangles draw nothing; they are not flipped.
int DeviceContext::FillRect(const RECT& r, const Brush& brush) {
    if (brush.hollow() || IsRectEmpty(r)) return 1;
    detail::FillBox(*surface_, detail::RectBox(r), ToPixel(brush.color()));
    return 1;
}

int DeviceContext::FrameRect(const RECT& r, const Brush& brush) {
    if (brush.hollow() || IsRectEmpty(r)) return 1;
    const std::uint32_t pixel = ToPixel(brush.color());
    const detail::Box b = detail::RectBox(r);
    detail::FillBox(*surface_, {b.x0, b.y0, b.x1, b.y0 + 1}, pixel);
    detail::FillBox(*surface_, {b.x0, b.y1 - 1, b.x1, b.y1}, pixel);
    detail::FillBox(*surface_, {b.x0, b.y0, b.x0 + 1, b.y1}, pixel);
    detail::FillBox(*surface_, {b.x1 - 1, b.y0, b.x1, b.y1}, pixel);
    return 1;
}

namespace {

// Inverts every border pixel whose (x + y) has the parity of the top-right corner, each pixel
// once, so that a second call restores the surface.
void InvertDots(Surface& s, const detail::Box& r) {
    const std::int64_t phase = (r.x1 - 1 + r.y0) & 1;
    auto invert = [&](std::int64_t x, std::int64_t y) {
        if (((x + y) & 1) != phase) return;
        if (x < 0 || y < 0 || x >= s.width() || y >= s.height()) return;
        std::uint32_t& p = s.row(static_cast<std::int32_t>(y))[x];
        p = (p ^ 0x00FFFFFFu) | 0xFF000000u;
    };
    const detail::Box clip = detail::Intersect(r, {-1, -1, s.width() + 1, s.height() + 1});
    // Rows: the top row, and the bottom row when it is a different one.
    for (std::int64_t x = clip.x0; x < clip.x1; ++x) {
        invert(x, r.y0);
        if (r.y1 - 1 != r.y0) invert(x, r.y1 - 1);
    }
    // Columns, without the corners already done.
    for (std::int64_t y = std::max(clip.y0, r.y0 + 1); y < std::min(clip.y1, r.y1 - 1); ++y) {
        invert(r.x0, y);
        if (r.x1 - 1 != r.x0) invert(r.x1 - 1, y);
    }
}

}  // namespace

bool DeviceContext::DrawFocusRect(const RECT& r) {
    if (IsRectEmpty(r)) return true;
    InvertDots(*surface_, detail::RectBox(r));
    return true;
}

}  // namespace gdi
