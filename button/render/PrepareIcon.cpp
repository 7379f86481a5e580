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

// The whole part of the display's scale: 2 at 192 dpi and at 240, 1 at 96, 120 and 144.
std::int32_t WholeScale(double twipsPerPixel) {
    constexpr double kTwipsPerPixelAt96 = 15.0;
    constexpr double kRoundingSlack = 1e-6;
    if (!(twipsPerPixel > 0)) return 1;
    return std::max(1, std::int32_t(kTwipsPerPixelAt96 / twipsPerPixel + kRoundingSlack));
}

// IconSize x 8 pixels. A stored set is read without the range check of the property, so IconSize
// can be anything. A cell larger than both the button and the largest size the property accepts
// cannot be seen whole on the button; bounding it there keeps layout arithmetic inside 32 bits and
// the greyed copy no larger than the button, while every size the property accepts keeps its
// exact edge.
std::int32_t PlainIconCell(const TarvexButton& b) {
    constexpr std::int64_t kLargestSettable = 4 * 8;
    const std::int64_t bound = std::clamp<std::int64_t>(std::max(b.ScaleWidth(), b.ScaleHeight()),
                                                        kLargestSettable, gdi::kMaxSurfaceSide);
    return std::int32_t(std::clamp(std::int64_t(b.mIconSize) * 8, -bound, bound));
}

}  // namespace

// The cell is IconSize x 8 pixels, and an icon is drawn at that pixel size on every display, as
// the classic platform draws it. On a display of scale 2 or more, an icon that carries a frame of
// the cell's size times that scale (a multi-size .ico file) shows that frame instead, in a cell of
// its size: it keeps its size on screen and every pixel of the larger frame shows.
std::int32_t TarvexButton::IconCell() const {
    const std::int32_t cell = PlainIconCell(*this);
    const std::int32_t scale = WholeScale(host_.ExactTwipsPerPixelY());
    if (scale < 2 || !mIcon || !mIcon->SquareOfSide(cell * scale)) return cell;
    return cell * scale;
}

const gdi::Surface& TarvexButton::IconImage() const {
    const std::int32_t cell = IconCell();
    if (cell != PlainIconCell(*this)) return *mIcon->SquareOfSide(cell);
    return mIcon->Pixels();
}

void TarvexButton::PrepareIcon() {
    if (!mIconPresent) return;
    // Report an icon without pixels before anything is drawn: the caller sees the failure once and
    // the button keeps its image.
    if (!mIcon || !mIcon->HasHandle()) throw HostError("The icon picture holds no image");

    const Picture& icon = *mIcon;
    const std::int32_t cell = IconCell();
    const bool denseFrame = cell != PlainIconCell(*this);
    const gdi::Surface& image = IconImage();
    const std::int32_t w =
        denseFrame ? image.width() : std::max(0, Picture::HimetricToPixels(icon.Width()));
    const std::int32_t h =
        denseFrame ? image.height() : std::max(0, Picture::HimetricToPixels(icon.Height()));
    const auto face = static_cast<gdi::COLORREF>(mFaceColor);

    // The greyed image is drawn at the icon's size on a face-coloured sheet of that size, then
    // scaled: drawn on the button itself, an icon taller or wider than the button would lose the
    // part beyond its edge.
    gdi::Surface greyed(w, h);
    gdi::DeviceContext greyedDc(greyed);
    DrawRect(0, 0, w, h, mFaceColor, false, &greyedDc);
    greyedDc.DrawState(image, 0, 0, w, h, DisabledDrawStateFlags(icon));
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
