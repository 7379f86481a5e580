// Icon preparation: the greyed copy of the icon that a disabled button shows, scaled to the icon
// cell, its face-coloured pixels replaced by the disabled face behind the cell so that it sits on
// a gradient or a bevel without a visible square.
#include <algorithm>
#include <cstdint>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

std::uint32_t DisabledDrawStateFlags(const Picture& icon) {
    const std::uint32_t image = icon.Type() == kPicTypeBitmap ? gdi::DST_BITMAP : gdi::DST_ICON;
    return image | gdi::DSS_DISABLED;
}

}  // namespace

void TarvexButton::PrepareIcon() {
    if (!mIconPresent) return;
    // Report an icon without pixels before anything is drawn: the caller sees the failure once and
    // the button keeps its image.
    if (!mIcon || !mIcon->HasHandle()) throw HostError("The icon picture holds no image");

    const Picture& icon = *mIcon;
    const std::int32_t w = std::max(0, Picture::HimetricToPixels(icon.Width()));
    const std::int32_t h = std::max(0, Picture::HimetricToPixels(icon.Height()));
    const std::int32_t cell = mIconSize * 8;
    const auto face = static_cast<gdi::COLORREF>(mFaceColor);

    // The greyed image is drawn at the icon's size on a face-coloured sheet of that size, then
    // scaled: drawn on the button itself, an icon taller or wider than the button would lose the
    // part beyond its edge.
    gdi::Surface greyed(w, h);
    gdi::DeviceContext greyedDc(greyed);
    DrawRect(0, 0, w, h, mFaceColor, false, &greyedDc);
    greyedDc.DrawState(icon.Pixels(), 0, 0, w, h, DisabledDrawStateFlags(icon));
    picIcon = gdi::Surface(cell > 0 ? cell : 0, cell > 0 ? cell : 0);
    gdi::DeviceContext iconDc(picIcon);
    DrawRect(0, 0, picIcon.width(), picIcon.height(), mFaceColor, false, &iconDc);
    iconDc.StretchBlt(0, 0, picIcon.width(), picIcon.height(), greyedDc, 0, 0, w, h);

    // The bare disabled face behind the cell.
    DrawButton(true);
    gdi::DeviceContext& dc = hDC();

    // The face behind each pixel is read one pixel to the right and below its place in the cell.
    for (std::int32_t x = 0; x < picIcon.width(); ++x) {
        for (std::int32_t y = 0; y < picIcon.height(); ++y) {
            if (iconDc.GetPixel(x, y) != face) continue;
            const gdi::COLORREF behind = dc.GetPixel(mIconX + x + 1, mIconY + y + 1);
            if (behind != gdi::CLR_INVALID && behind != face) iconDc.SetPixelV(x, y, behind);
        }
    }
}

}  // namespace tarvex
