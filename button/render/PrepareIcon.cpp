// Icon preparation: the greyed copy of the icon that a disabled button shows, scaled to the icon
// cell, its face-coloured pixels replaced by the disabled face behind the cell so that it sits on
// a gradient or a bevel without a visible square.
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
    const std::int32_t w = Picture::HimetricToPixels(icon.Width());
    const std::int32_t h = Picture::HimetricToPixels(icon.Height());
    const std::int32_t cell = mIconSize * 8;
    const auto face = static_cast<gdi::COLORREF>(mFaceColor);

    // The greyed image is drawn on the control's own surface at the icon's size, then scaled.
    DrawRect(0, 0, w, h, mFaceColor, false);
    picIcon = gdi::Surface(cell > 0 ? cell : 0, cell > 0 ? cell : 0);
    gdi::DeviceContext iconDc(picIcon);
    DrawRect(0, 0, picIcon.width(), picIcon.height(), mFaceColor, false, &iconDc);
    gdi::DeviceContext& dc = hDC();
    dc.DrawState(icon.Pixels(), 0, 0, w, h, DisabledDrawStateFlags(icon));
    iconDc.StretchBlt(0, 0, picIcon.width(), picIcon.height(), dc, 0, 0, w, h);

    // The bare disabled face, which also wipes the scratch drawing above.
    DrawButton(true);

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
