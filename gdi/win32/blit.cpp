// Block transfers with BitBlt and StretchBlt, and DrawStateW for disabled images.
#include <algorithm>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"
#include "gdi/storage.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

namespace {

detail::Box ExtentBox(std::int64_t x, std::int64_t y, std::int64_t cx, std::int64_t cy) {
    return {x, y, x + cx, y + cy};
}

// The image at its drawn size as a plain bitmap for DrawStateW: ink keeps its colour and
// everything else is white, the colour DrawState's monochrome mask takes as background. The
// unused fourth byte is zero, since the mask compares whole pixels with the background.
Surface InkBitmap(const Surface& image, std::int32_t w, std::int32_t h) {
    Surface out(w, h);
    for (std::int32_t j = 0; j < h; ++j) {
        const std::uint32_t* in =
            image.row(static_cast<std::int32_t>(detail::EnlargeIndex(j, image.height(), h)));
        std::uint32_t* row = out.row(j);
        for (std::int32_t i = 0; i < w; ++i) {
            const std::uint32_t p = in[detail::EnlargeIndex(i, image.width(), w)];
            row[i] = detail::IsInk(p) ? (p & 0x00FFFFFFu) : 0x00FFFFFFu;
        }
    }
    return out;
}

}  // namespace

bool DeviceContext::BitBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                           const DeviceContext& src, std::int32_t srcX, std::int32_t srcY) {
    if (cx < 0 || cy < 0) return false;
    if (cx == 0 || cy == 0) return true;
    const detail::DrawTarget from(src.surface());
    detail::DrawTarget target(*surface_, ExtentBox(x, y, cx, cy));
    if (!target.dc() || !from.dc()) return true;
    return ::BitBlt(target.dc(), x, y, cx, cy, from.dc(), srcX, srcY, SRCCOPY) != 0;
}

bool DeviceContext::StretchBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                               const DeviceContext& src, std::int32_t srcX, std::int32_t srcY,
                               std::int32_t srcCx, std::int32_t srcCy) {
    if (cx < 0 || cy < 0 || srcCx < 0 || srcCy < 0) return false;
    if (cx == 0 || cy == 0 || srcCx == 0 || srcCy == 0) return true;
    const detail::DrawTarget from(src.surface());
    detail::DrawTarget target(*surface_, ExtentBox(x, y, cx, cy));
    if (!target.dc() || !from.dc()) return true;
    ::SetStretchBltMode(target.dc(), BLACKONWHITE);
    return ::StretchBlt(target.dc(), x, y, cx, cy, from.dc(), srcX, srcY, srcCx, srcCy, SRCCOPY) !=
           0;
}

bool DeviceContext::DrawState(const Surface& image, std::int32_t x, std::int32_t y, std::int32_t cx,
                              std::int32_t cy, std::uint32_t flags) {
    const std::uint32_t type = flags & 0x000Fu;
    const std::uint32_t state = flags & ~0x000Fu;
    if (type != DST_ICON && type != DST_BITMAP) return false;
    if (state != DSS_NORMAL && state != DSS_DISABLED) return false;
    if (cx < 0 || cy < 0) return false;
    const std::int32_t w = cx != 0 ? cx : image.width();
    const std::int32_t h = cy != 0 ? cy : image.height();
    if (state == DSS_NORMAL) return DrawImage(image, x, y, w, h);
    if (w == 0 || h == 0 || image.empty()) return true;
    // DrawStateW paints in the desktop's colours; a host that gave the layer other colours gets
    // them painted by the layer itself.
    if (GetSysColor(COLOR_BTNHIGHLIGHT) != ::GetSysColor(COLOR_BTNHIGHLIGHT) ||
        GetSysColor(COLOR_BTNSHADOW) != ::GetSysColor(COLOR_BTNSHADOW)) {
        detail::PaintDisabled(*surface_, image, x, y, w, h);
        return true;
    }
    // The bitmap is selected into its own memory DC; DrawStateW wants it free, so it gets a
    // copy of the pixels in a bitmap of its own.
    const Surface ink = InkBitmap(image, w, h);
    const BITMAPINFO info = detail::DibInfo(w, h);
    detail::DrawTarget target(*surface_, ExtentBox(x, y, w + 1, h + 1));
    if (!target.dc()) return true;
    const detail::GdiObject<HBITMAP> bitmap(
        CreateDIBitmap(target.dc(), &info.bmiHeader, CBM_INIT, ink.bits(), &info, DIB_RGB_COLORS));
    if (!bitmap) return false;
    return ::DrawStateW(target.dc(), nullptr, nullptr, reinterpret_cast<LPARAM>(bitmap.get()), 0, x,
                        y, w, h, DST_BITMAP | DSS_DISABLED) != 0;
}

}  // namespace gdi
