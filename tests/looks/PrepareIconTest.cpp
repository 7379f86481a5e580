// Greyed icon preparation. The disabled image paints the shadow colour (0x808080) on every ink
// pixel and the highlight (0xFFFFFF) one pixel down and right of it; the copy is then scaled to
// the icon cell (shrinking ANDs the pixels that meet) and its face-coloured pixels take the
// colour of the disabled face one pixel right and below their place in the cell.
#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>

#include "looks/LookFixture.hpp"

namespace tarvex::looks_test {
namespace {

constexpr std::int32_t kLightBevel = 5;
constexpr std::int32_t kFixedGrey = 3;
constexpr std::int32_t kGradient = 5;
constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;
constexpr std::uint32_t kOpaqueBlack = 0xFF000000;

// A square icon on white (which is never ink) with black ink at the given pixels.
PictureRef IconWithInk(std::int32_t side, std::initializer_list<gdi::POINT> ink) {
    gdi::Surface pixels(side, side);
    pixels.fill(kOpaqueWhite);
    for (const gdi::POINT& p : ink) pixels.set(p.x, p.y, kOpaqueBlack);
    return std::make_shared<Picture>(std::move(pixels), kPicTypeIcon);
}

class IconPreparation : public LookTest {
  protected:
    TarvexButton& WithIcon(std::int32_t colorScheme, PictureRef icon, std::int32_t iconSize,
                           std::int32_t cellX, std::int32_t cellY, std::int32_t height = 40) {
        TarvexButton& b = Make(kLightBevel, colorScheme, 0x808080, 81, height);
        b.mIconPresent = kTrue;
        b.mIcon = std::move(icon);
        b.mIconSize = iconSize;
        b.mIconX = cellX;
        b.mIconY = cellY;
        return b;
    }

    gdi::COLORREF IconPixel(std::int32_t x, std::int32_t y) const {
        return gdi::FromPixel(button->picIcon.at(x, y));
    }
};

// Ink at (5, 5): shadow at (5, 5), highlight at (6, 6). Halved, (5, 5) meets (4, 4), (4, 5) and
// (5, 4) in cell pixel (2, 2): 0x808080 AND 0xC0C0C0 = 0x808080; the highlight ANDed with the
// face is the face again.
TEST_F(IconPreparation, ThirtyTwoPixelIconIsShrunkToSixteen) {
    TarvexButton& b = WithIcon(kFixedGrey, IconWithInk(32, {{5, 5}}), 2, 30, 10);
    b.PrepareIcon();
    ASSERT_EQ(b.picIcon.width(), 16);
    ASSERT_EQ(b.picIcon.height(), 16);
    EXPECT_EQ(IconPixel(2, 2), Grey(0x80));
    EXPECT_EQ(IconPixel(3, 3), Grey(0xC0));
    EXPECT_EQ(IconPixel(5, 5), Grey(0xC0));
    EXPECT_EQ(IconPixel(0, 0), Grey(0xC0));
    EXPECT_EQ(IconPixel(15, 15), Grey(0xC0));
}

// Doubled, cell pixels 10 and 11 come from icon pixel 5, 12 and 13 from pixel 6.
TEST_F(IconPreparation, SixteenPixelIconIsEnlargedToThirtyTwo) {
    TarvexButton& b = WithIcon(kFixedGrey, IconWithInk(16, {{5, 5}}), 4, 24, 3);
    b.PrepareIcon();
    ASSERT_EQ(b.picIcon.width(), 32);
    ASSERT_EQ(b.picIcon.height(), 32);
    EXPECT_EQ(IconPixel(9, 9), Grey(0xC0));
    EXPECT_EQ(IconPixel(10, 10), Grey(0x80));
    EXPECT_EQ(IconPixel(11, 11), Grey(0x80));
    EXPECT_EQ(IconPixel(10, 11), Grey(0x80));
    EXPECT_EQ(IconPixel(12, 12), Grey(0xFF));
    EXPECT_EQ(IconPixel(13, 13), Grey(0xFF));
    EXPECT_EQ(IconPixel(14, 14), Grey(0xC0));
}

// A 32-pixel icon on a 25-pixel-high button: ink at (5, 28) lies below the button's last row.
// Halved, source columns 4-5 and rows 28-29 meet in cell pixel (2, 14): the shadow 0x808080
// ANDed with the face 0xC0C0C0 stays 0x808080; the highlight at (6, 29) meets only face pixels
// in (3, 14) and vanishes. The disabled icon is whole, as the enabled one is.
TEST_F(IconPreparation, IconTallerThanTheButtonIsGreyedWhole) {
    TarvexButton& b = WithIcon(kFixedGrey, IconWithInk(32, {{5, 28}}), 2, 30, 4, 25);
    b.PrepareIcon();
    EXPECT_EQ(IconPixel(2, 14), Grey(0x80));
    EXPECT_EQ(IconPixel(3, 14), Grey(0xC0));
    EXPECT_EQ(IconPixel(2, 13), Grey(0xC0));
    EXPECT_EQ(Pixel(5, 20), Grey(0xC0));
}

// A stored set is read without the property's range check. A cell of 100 x 8 pixels on an
// 81 x 40 button is bounded by the button's width, and the 32-pixel icon is enlarged to it: cell
// pixels 13 and 14 take icon pixel 5, floor(((2i + 1) * 32 - 1) / 162), where the ink is.
TEST_F(IconPreparation, StoredSizeFarOutOfRangeGreysACellNoLargerThanTheButton) {
    TarvexButton& b = WithIcon(kFixedGrey, IconWithInk(32, {{5, 5}}), 100, -10, -20);
    b.PrepareIcon();
    ASSERT_EQ(b.picIcon.width(), 81);
    ASSERT_EQ(b.picIcon.height(), 81);
    EXPECT_EQ(IconPixel(13, 13), Grey(0x80));
    EXPECT_EQ(IconPixel(0, 0), Grey(0xC0));

    WithIcon(kFixedGrey, IconWithInk(32, {{5, 5}}), 268435455, 0, 0).PrepareIcon();
    EXPECT_EQ(button->picIcon.width(), 81);
    WithIcon(kFixedGrey, IconWithInk(32, {{5, 5}}), -268435457, 0, 0).PrepareIcon();
    EXPECT_EQ(button->picIcon.width(), 0);
}

// Face 0x808080 under the gradient scheme: the shadow ink equals the face, so it takes the
// gradient colour behind it, as the background does; the highlight column stays white.
TEST_F(IconPreparation, FaceColouredPixelsTakeTheColourBehindTheCell) {
    TarvexButton& b = WithIcon(kGradient, nullptr, 2, 30, 10);
    gdi::Surface pixels(16, 16);
    pixels.fill(kOpaqueWhite);
    for (std::int32_t y = 0; y < 16; ++y)
        for (std::int32_t x = 0; x < 8; ++x) pixels.set(x, y, kOpaqueBlack);
    b.mIcon = std::make_shared<Picture>(std::move(pixels), kPicTypeIcon);
    b.mGradientStart = 0x3366CC;
    b.mGradientStop = 0x3366CC;
    b.PrepareIcon();
    EXPECT_EQ(IconPixel(0, 0), gdi::COLORREF(0x3366CC));
    EXPECT_EQ(IconPixel(3, 7), gdi::COLORREF(0x3366CC));
    EXPECT_EQ(IconPixel(8, 0), gdi::COLORREF(0x3366CC));
    EXPECT_EQ(IconPixel(8, 5), Grey(0xFF));
    EXPECT_EQ(IconPixel(12, 12), gdi::COLORREF(0x3366CC));
}

TEST_F(IconPreparation, TheControlIsLeftWithItsBareDisabledFace) {
    TarvexButton& b = WithIcon(kFixedGrey, IconWithInk(32, {{5, 5}}), 2, 30, 10);
    b.PrepareIcon();
    EXPECT_EQ(Pixel(5, 5), Grey(0xC0));
    EXPECT_EQ(Pixel(6, 6), Grey(0xC0));
    EXPECT_EQ(b.mEnabled, kTrue);
}

TEST_F(IconPreparation, WithoutAnIconNothingIsDrawnAndTheCellIsKept) {
    TarvexButton& b = WithIcon(kFixedGrey, IconWithInk(16, {{5, 5}}), 2, 30, 10);
    b.mIconPresent = kFalse;
    b.picIcon = gdi::Surface(8, 8);
    b.hDC().FillRect({0, 0, 81, 40}, gdi::Brush::Solid(0x123456));
    b.PrepareIcon();
    EXPECT_EQ(b.picIcon.width(), 8);
    EXPECT_EQ(Pixel(0, 0), gdi::COLORREF(0x123456));
}

TEST_F(IconPreparation, IconWithoutPixelsIsReportedOnceAndDrawsNothing) {
    TarvexButton& b = WithIcon(kFixedGrey, std::make_shared<Picture>(), 2, 30, 10);
    b.picIcon = gdi::Surface(8, 8);
    b.hDC().FillRect({0, 0, 81, 40}, gdi::Brush::Solid(0x123456));
    EXPECT_THROW(b.PrepareIcon(), HostError);
    EXPECT_EQ(b.picIcon.width(), 8);
    EXPECT_EQ(Pixel(0, 0), gdi::COLORREF(0x123456));
    EXPECT_EQ(Pixel(40, 20), gdi::COLORREF(0x123456));
}

// The Icon property drops an icon whose preparation fails and paints the button without it,
// rather than trying again and again.
TEST_F(IconPreparation, IconPropertyWithoutPixelsLeavesTheButtonPaintedWithoutIcon) {
    TarvexButton& b = Make(kLightBevel, kFixedGrey, 0x808080, 81, 40);
    host.refreshCount = 0;
    EXPECT_NO_THROW(b.SetIcon(std::make_shared<Picture>()));
    EXPECT_EQ(b.mIconPresent, kFalse);
    EXPECT_GE(host.refreshCount, 1);
    EXPECT_EQ(Pixel(40, 20), Grey(0xC0));
}

}  // namespace
}  // namespace tarvex::looks_test
