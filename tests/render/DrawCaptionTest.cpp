// Caption and icon painting: the pressed offset, the passes, the underline and the icon.
#include <memory>

#include "RenderFixture.hpp"

namespace tarvex::render_test {
namespace {

class DrawCaptionTest : public RenderTest {
  protected:
    // "&Change" centred in 81 x 25: the line at (23, 6), 34 wide, 12 high; the underline under
    // the C runs from x 23 to 29 on row 18.
    TarvexButton& Captioned(std::int32_t type = 2) {
        TarvexButton& b = Make(type);
        SetCaption("&Change");
        b.LayoutCaption();
        PaintWhite();
        return b;
    }
    void ExpectUnderline(int x0, int y) {
        EXPECT_NE(Pixel(x0 - 1, y), kText);
        for (int x = x0; x < x0 + 7; ++x) EXPECT_EQ(Pixel(x, y), kText) << x << "," << y;
        EXPECT_NE(Pixel(x0 + 7, y), kText);
    }
};

TEST_F(DrawCaptionTest, PlainCaptionInkStaysInsideItsLineAndIsUnderlined) {
    TarvexButton& b = Captioned();
    b.DrawCaption(OleColor(kText), -1, -1);
    const Box ink = InkOf(kText);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 23);
    EXPECT_LE(ink.right, 57);
    EXPECT_GE(ink.top, 6);
    EXPECT_EQ(ink.bottom, 19);  // the underline is the lowest ink
    ExpectUnderline(23, 18);
    EXPECT_FALSE(b.mCaptionFont);
}

TEST_F(DrawCaptionTest, PressedCommandButtonMovesEverythingOnePixel) {
    TarvexButton& b = Captioned();
    b.mButtonState = kStatePressed;
    b.DrawCaption(OleColor(kText), -1, -1);
    ExpectUnderline(24, 19);
    EXPECT_GE(InkOf(kText).left, 24);
}

TEST_F(DrawCaptionTest, PressedOptionAndEtchedButtonsDoNotMove) {
    TarvexButton& option = Captioned();
    option.mOptionButton = kTrue;
    option.mButtonState = kStatePressed;
    option.DrawCaption(OleColor(kText), -1, -1);
    ExpectUnderline(23, 18);

    TarvexButton& etched = Captioned(4);
    etched.mButtonState = kStatePressed;
    etched.DrawCaption(OleColor(kText), -1, -1);
    ExpectUnderline(23, 18);
}

TEST_F(DrawCaptionTest, ShadowedCaptionHasCopiesAboveLeftAndBelowRight) {
    TarvexButton& b = Captioned();
    b.mCaptionStyle = 3;
    b.mEmbossShadowColor = OleColor(kShadow);
    b.mEmbossMidColor = OleColor(kHoverText);
    b.mAccessKeyPos = 0;
    b.DrawCaption(OleColor(kText), -1, -1);
    const Box text = InkOf(kText);
    const Box shadow = InkOf(kShadow);
    ASSERT_FALSE(text.empty());
    ASSERT_FALSE(shadow.empty());
    EXPECT_EQ(shadow.top, text.top - 1);
    EXPECT_EQ(shadow.left, text.left - 1);
    EXPECT_EQ(shadow.bottom, text.bottom + 1);
    EXPECT_EQ(shadow.right, text.right + 1);
    EXPECT_TRUE(InkOf(kHoverText).empty());  // the mid colour is not used by shadowing
}

TEST_F(DrawCaptionTest, StyledCaptionStillUnderlinesInTheRenderersColour) {
    TarvexButton& b = Captioned();
    b.mCaptionStyle = 1;
    b.mTextColor = OleColor(kHoverText);
    b.mEmbossShadowColor = OleColor(kShadow);
    b.mEmbossMidColor = OleColor(kLight);
    b.DrawCaption(OleColor(kText), -1, -1);
    ExpectUnderline(23, 18);
    EXPECT_FALSE(InkOf(kHoverText).empty());
}

TEST_F(DrawCaptionTest, DisabledGradientButtonDerivesItsPassesFromTheParentBackground) {
    TarvexButton& b = Captioned();
    b.mColorScheme = 5;
    b.mEnabled = kFalse;
    b.mAccessKeyPos = 0;
    host.formBkColor = 0xC8D0D4;
    b.DrawCaption(OleColor(kText), -1, -1);
    const Box dark = InkOf(0x081014);   // 192 below each channel, at (-1, -1)
    const Box light = InkOf(0xE7EFF3);  // 31 above, at (+1, +1)
    const Box text = InkOf(0x000000);
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(dark.top, text.top - 1);
    EXPECT_EQ(light.bottom, text.bottom + 1);
    EXPECT_TRUE(InkOf(kText).empty());
}

TEST_F(DrawCaptionTest, IconIsTheColourPictureWhenEnabledAndThePreparedCopyWhenDisabled) {
    TarvexButton& b = Make(2);
    gdi::Surface red(16, 16);
    red.fill(gdi::ToPixel(0x0000FF));
    b.mIcon = std::make_shared<Picture>(std::move(red), kPicTypeIcon);
    b.mIconPresent = kTrue;
    b.picIcon = gdi::Surface(16, 16);
    b.picIcon.fill(gdi::ToPixel(0x00FF00));
    b.LayoutCaption();  // no caption: the icon is centred at (32, 4)
    PaintWhite();
    b.DrawCaption(OleColor(kText), -1, -1);
    EXPECT_EQ(Pixel(32, 4), 0x0000FFu);
    EXPECT_EQ(Pixel(47, 19), 0x0000FFu);
    EXPECT_EQ(Pixel(48, 19), kWhite);

    b.mEnabled = kFalse;
    b.DrawCaption(OleColor(kText), -1, -1);
    EXPECT_EQ(Pixel(32, 4), 0x00FF00u);
    EXPECT_EQ(Pixel(47, 19), 0x00FF00u);
}

}  // namespace
}  // namespace tarvex::render_test
