// Pictures with alpha painted onto a surface, scaled by the enlarging index rule; the same on
// every platform, since GDI has no straight-alpha picture call.
#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

namespace detail {

bool IsInk(std::uint32_t pixel) {
    // "Opaque" is at least half covered; exact white is never ink.
    return PixelAlpha(pixel) >= 0x80 && (pixel & 0x00FFFFFFu) != 0x00FFFFFFu;
}

// The ink of the image (at its drawn size) is painted in the highlight colour one pixel down and
// right, then in the shadow colour in place. Pixels that are not ink are left alone.
void PaintDisabled(Surface& s, const Surface& image, std::int32_t x, std::int32_t y, std::int32_t w,
                   std::int32_t h) {
    auto emboss = [&](std::int64_t ox, std::int64_t oy, COLORREF color) {
        const std::uint32_t pixel = ToPixel(color);
        std::int64_t i0, i1, j0, j1;
        detail::VisibleIndices(x + ox, w, s.width(), i0, i1);
        detail::VisibleIndices(y + oy, h, s.height(), j0, j1);
        for (std::int64_t j = j0; j < j1; ++j) {
            const std::uint32_t* in =
                image.row(static_cast<std::int32_t>(detail::EnlargeIndex(j, image.height(), h)));
            std::uint32_t* out = s.row(static_cast<std::int32_t>(y + oy + j));
            for (std::int64_t i = i0; i < i1; ++i) {
                if (IsInk(in[detail::EnlargeIndex(i, image.width(), w)])) out[x + ox + i] = pixel;
            }
        }
    };
    emboss(1, 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    emboss(0, 0, GetSysColor(COLOR_BTNSHADOW));
}

}  // namespace detail

bool DeviceContext::DrawImage(const Surface& image, std::int32_t x, std::int32_t y, std::int32_t cx,
                              std::int32_t cy) {
    if (cx < 0 || cy < 0) return false;
    if (cx == 0 || cy == 0 || image.empty()) return true;
    std::int64_t i0, i1, j0, j1;
    detail::VisibleIndices(x, cx, width(), i0, i1);
    detail::VisibleIndices(y, cy, height(), j0, j1);
    for (std::int64_t j = j0; j < j1; ++j) {
        const std::uint32_t* in =
            image.row(static_cast<std::int32_t>(detail::EnlargeIndex(j, image.height(), cy)));
        std::uint32_t* out = surface_->row(static_cast<std::int32_t>(y + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            const std::uint32_t p = in[detail::EnlargeIndex(i, image.width(), cx)];
            out[x + i] = detail::BlendOver(out[x + i], p, PixelAlpha(p));
        }
    }
    return true;
}

}  // namespace gdi
