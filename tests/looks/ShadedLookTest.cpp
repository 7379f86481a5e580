// Shaded look. On a 0xC0C0C0 face the base is every channel 240 (blue 192 + 192 x 48 / 192) and at
// height 25 the shading step is exactly 1: row i has red and green 240 - i and blue
// 240 - trunc(1.25 i).
#include <gtest/gtest.h>

#include "looks/LookFixture.hpp"

namespace tarvex::looks_test {
namespace {

constexpr std::int32_t kShaded = 3;
constexpr std::int32_t kFixedGrey = 3;
constexpr std::int32_t kCustom = 2;

constexpr gdi::COLORREF kFrameBlue = 0x733C00;
constexpr gdi::COLORREF kCornerBlue = 0x7B4D10;
constexpr gdi::COLORREF kHoverOrange = 0x31B2FF;
constexpr gdi::COLORREF kHoverLightOrange = 0x6BCBFF;
constexpr gdi::COLORREF kHoverDarkOrange = 0x0096E7;
constexpr gdi::COLORREF kHoverPale = 0xCEF3FF;
constexpr gdi::COLORREF kFocusBlue = 0xE7AE8C;
constexpr gdi::COLORREF kFocusLightBlue = 0xF0D1B5;
constexpr gdi::COLORREF kFocusPaleBlue = 0xFFE7CE;

using ShadedLook = LookTest;

TEST_F(ShadedLook, FaceRowsDarkenByOneUnitPerRowWithProportionalBlue) {
    Make(kShaded, kFixedGrey);
    Paint();
    EXPECT_EQ(Pixel(40, 3), gdi::RGB(237, 237, 237));
    EXPECT_EQ(Pixel(40, 12), gdi::RGB(228, 228, 225));
    EXPECT_EQ(Pixel(40, 21), gdi::RGB(219, 219, 214));
}

// The right-hand segment has no frame on its top-right column and no frame across the bottom
// left of its slant, so the first and the last shaded rows stay visible there.
TEST_F(ShadedLook, RowOneAndRowTwentyFourAtHeight25) {
    TarvexButton& b = Make(kShaded, kFixedGrey);
    b.mButtonStyle = 3;
    Paint();
    EXPECT_EQ(Pixel(80, 1), gdi::RGB(239, 239, 239));
    EXPECT_EQ(Pixel(5, 24), gdi::RGB(216, 216, 210));
}

TEST_F(ShadedLook, RectangularRestHasBlueFrameCornerDotsAndRaisedBevel) {
    Make(kShaded, kFixedGrey);
    Paint();
    EXPECT_EQ(Pixel(0, 0), kFrameBlue);
    EXPECT_EQ(Pixel(80, 24), kFrameBlue);
    EXPECT_EQ(Pixel(1, 1), kCornerBlue);
    EXPECT_EQ(Pixel(79, 23), kCornerBlue);
    EXPECT_EQ(Pixel(40, 1), gdi::RGB(255, 255, 255));   // 240 + 16, clamped
    EXPECT_EQ(Pixel(40, 23), gdi::RGB(192, 192, 180));  // 240 - 48, blue 240 - 60
}

// Face (192, 192, 0): blue is scaled by itself, so it never leaves 0.
TEST_F(ShadedLook, BlueChannelOfZeroStaysZero) {
    Make(kShaded, kCustom, gdi::RGB(192, 192, 0));
    Paint();
    EXPECT_EQ(Pixel(40, 12), gdi::RGB(228, 228, 0));
    EXPECT_EQ(Pixel(40, 1), gdi::RGB(255, 255, 0));
    EXPECT_EQ(Pixel(40, 23), gdi::RGB(192, 192, 0));
}

TEST_F(ShadedLook, HoverRingWinsOverFocusRing) {
    TarvexButton& b = Make(kShaded, kFixedGrey);
    b.mHasFocus = kTrue;
    b.mButtonState = kStateHover;
    Paint();
    EXPECT_EQ(Pixel(2, 12), kHoverOrange);
    EXPECT_EQ(Pixel(1, 12), kHoverLightOrange);
    EXPECT_EQ(Pixel(79, 12), kHoverLightOrange);
    EXPECT_EQ(Pixel(40, 1), kHoverPale);
    EXPECT_EQ(Pixel(40, 23), kHoverDarkOrange);
    EXPECT_EQ(Pixel(1, 1), kCornerBlue);
}

TEST_F(ShadedLook, FocusRingWithoutHover) {
    TarvexButton& b = Make(kShaded, kFixedGrey);
    b.mHasFocus = kTrue;
    b.mButtonState = kStateFocused;
    Paint();
    EXPECT_EQ(Pixel(1, 12), kFocusBlue);
    EXPECT_EQ(Pixel(40, 1), kFocusBlue);
    EXPECT_EQ(Pixel(40, 2), kFocusBlue);
    EXPECT_EQ(Pixel(40, 23), kFocusBlue);
    EXPECT_EQ(Pixel(3, 12), kFocusLightBlue);
    EXPECT_EQ(Pixel(77, 12), kFocusLightBlue);
    EXPECT_EQ(Pixel(40, 3), kFocusPaleBlue);
}

// Pressed base: (208, 208, 200); row 12 is shaded by 13 (upward): (195, 195, 187).
TEST_F(ShadedLook, PressedFocusIsOnlyTheSingleFocusFrameOverUpwardShading) {
    TarvexButton& b = Make(kShaded, kFixedGrey);
    b.mHasFocus = kTrue;
    b.mButtonState = kStatePressed;
    Paint();
    EXPECT_EQ(Pixel(1, 12), kFocusBlue);
    EXPECT_EQ(Pixel(40, 2), kFocusBlue);
    EXPECT_EQ(Pixel(78, 12), kFocusBlue);
    EXPECT_EQ(Pixel(40, 22), kFocusBlue);
    EXPECT_EQ(Pixel(3, 12), gdi::RGB(195, 195, 187));
    EXPECT_EQ(Pixel(40, 1), gdi::RGB(176, 176, 167));
}

// Base 240: face 240 - 24 (blue 210), frame 240 - 84 (blue 135), corners 240 - 72 (blue 150).
TEST_F(ShadedLook, DisabledIsFlatWithDarkerFrameAndCornerPixels) {
    TarvexButton& b = Make(kShaded, kFixedGrey);
    b.mEnabled = kFalse;
    Paint();
    EXPECT_EQ(Pixel(40, 12), gdi::RGB(216, 216, 210));
    EXPECT_EQ(Pixel(40, 1), gdi::RGB(216, 216, 210));
    EXPECT_EQ(Pixel(40, 23), gdi::RGB(216, 216, 210));
    EXPECT_EQ(Pixel(0, 0), gdi::RGB(156, 156, 135));
    EXPECT_EQ(Pixel(1, 1), gdi::RGB(168, 168, 150));
    EXPECT_EQ(Pixel(79, 23), gdi::RGB(168, 168, 150));
}

// Option base: C0 - 22 = 170, then + 32 = (202, 202, 198). Row 1 carries the raised bevel's
// (218, 218, 214), not the sunken bevel's (170, 170, 165) beneath it.
TEST_F(ShadedLook, SelectedOptionButtonDrawsTheRaisedBevelOverTheSunkenOne) {
    TarvexButton& b = Make(kShaded, kFixedGrey);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    Paint();
    EXPECT_EQ(Pixel(40, 1), gdi::RGB(218, 218, 214));
    EXPECT_EQ(Pixel(0, 0), kFrameBlue);
    EXPECT_EQ(b.mButtonState, kStateNormal);
}

TEST_F(ShadedLook, ZeroHeightButtonDrawsNothingAndKeepsItsState) {
    TarvexButton& b = Make(kShaded, kFixedGrey, 0xC0C0C0, 81, 0);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    b.mButtonState = kStateHover;
    b.DrawShadedButton(false);
    EXPECT_EQ(b.mButtonState, kStateHover);
    b.mOptionButton = kFalse;
    b.DrawShadedButton(false);
    EXPECT_EQ(b.mButtonState, kStateHover);
}

}  // namespace
}  // namespace tarvex::looks_test
