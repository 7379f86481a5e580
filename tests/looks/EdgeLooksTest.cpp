// Framed double-bevel, classic 3-D, etched flat and light bevel looks: which edge colour lands on
// which pixel, worked out from the bevel geometry. Fixed grey scheme unless stated: face C0,
// highlight FF, light DF, shadow 80, dark shadow 00.
#include <gtest/gtest.h>

#include "looks/LookFixture.hpp"

namespace tarvex::looks_test {
namespace {

constexpr std::int32_t kFramed = 1;
constexpr std::int32_t kClassic = 2;
constexpr std::int32_t kEtched = 4;
constexpr std::int32_t kLightBevel = 5;
constexpr std::int32_t kFixedGrey = 3;
constexpr std::int32_t kCustom = 2;
constexpr std::int32_t kGradient = 5;

const gdi::COLORREF kFace = Grey(0xC0);
const gdi::COLORREF kWhite = Grey(0xFF);
const gdi::COLORREF kLight = Grey(0xDF);
const gdi::COLORREF kShadow = Grey(0x80);
const gdi::COLORREF kBlack = Grey(0x00);

using FramedBevelLook = LookTest;

// Row 12 from the left: the dark frame, then the bevel's two highlight rings; from the right the
// frame covers the outer shadow ring, leaving one shadow column.
TEST_F(FramedBevelLook, RestingEdgeIsFrameThenTwoLitRingsLeftAndOneShadowRingRight) {
    Make(kFramed, kFixedGrey);
    Paint();
    EXPECT_EQ(Pixel(0, 12), kBlack);
    EXPECT_EQ(Pixel(1, 12), kWhite);
    EXPECT_EQ(Pixel(2, 12), kWhite);
    EXPECT_EQ(Pixel(3, 12), kFace);
    EXPECT_EQ(Pixel(78, 12), kFace);
    EXPECT_EQ(Pixel(79, 12), kShadow);
    EXPECT_EQ(Pixel(80, 12), kBlack);
    EXPECT_EQ(Pixel(40, 0), kBlack);
    EXPECT_EQ(Pixel(40, 1), kWhite);
    EXPECT_EQ(Pixel(40, 2), kWhite);
    EXPECT_EQ(Pixel(40, 23), kShadow);
    EXPECT_EQ(Pixel(40, 24), kBlack);
}

TEST_F(FramedBevelLook, PressedSwapsTheBevelColoursInsideTheSameFrame) {
    TarvexButton& b = Make(kFramed, kFixedGrey);
    b.mButtonState = kStatePressed;
    Paint();
    EXPECT_EQ(Pixel(0, 12), kBlack);
    EXPECT_EQ(Pixel(1, 12), kShadow);
    EXPECT_EQ(Pixel(2, 12), kShadow);
    EXPECT_EQ(Pixel(79, 12), kWhite);
    EXPECT_EQ(Pixel(80, 12), kBlack);
    EXPECT_EQ(Pixel(40, 23), kWhite);
}

// Custom face 0x808080: shadow 0x40, light 0x9F, highlight 0xAF, dark shadow 0x00. The selected
// option button has no dark frame at all.
TEST_F(FramedBevelLook, SelectedOptionButtonIsSunkenOnTheLightColourWithoutFrame) {
    TarvexButton& b = Make(kFramed, kCustom, 0x808080);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    Paint();
    EXPECT_EQ(Pixel(40, 12), Grey(0x9F));
    EXPECT_EQ(Pixel(0, 12), Grey(0x40));
    EXPECT_EQ(Pixel(1, 12), Grey(0x40));
    EXPECT_EQ(Pixel(40, 0), Grey(0x40));
    EXPECT_EQ(Pixel(80, 12), Grey(0xAF));
    EXPECT_EQ(Pixel(79, 12), Grey(0xAF));
    EXPECT_EQ(Pixel(40, 24), Grey(0xAF));
    EXPECT_EQ(b.mButtonState, kStateNormal);
}

using ClassicLook = LookTest;

// The inset bevel leaves the outer left column and top row in the face colour.
TEST_F(ClassicLook, WithoutFocusTheOuterLeftColumnAndTopRowKeepTheFace) {
    Make(kClassic, kFixedGrey);
    Paint();
    EXPECT_EQ(Pixel(0, 12), kFace);
    EXPECT_EQ(Pixel(40, 0), kFace);
    EXPECT_EQ(Pixel(1, 12), kWhite);
    EXPECT_EQ(Pixel(2, 12), kLight);
    EXPECT_EQ(Pixel(3, 12), kFace);
    EXPECT_EQ(Pixel(79, 12), kShadow);
    EXPECT_EQ(Pixel(80, 12), kBlack);
    EXPECT_EQ(Pixel(40, 23), kShadow);
    EXPECT_EQ(Pixel(40, 24), kBlack);
}

TEST_F(ClassicLook, FocusAddsTheDarkFrameAroundTheRaisedBevel) {
    TarvexButton& b = Make(kClassic, kFixedGrey);
    b.mHasFocus = kTrue;
    b.mButtonState = kStateFocused;
    Paint();
    EXPECT_EQ(Pixel(0, 12), kBlack);
    EXPECT_EQ(Pixel(40, 0), kBlack);
    EXPECT_EQ(Pixel(1, 12), kWhite);
    EXPECT_EQ(Pixel(2, 12), kLight);
}

TEST_F(ClassicLook, PressedIsFlatWithADarkFrameAndAShadowFrameInside) {
    TarvexButton& b = Make(kClassic, kFixedGrey);
    b.mButtonState = kStatePressed;
    Paint();
    EXPECT_EQ(Pixel(0, 12), kBlack);
    EXPECT_EQ(Pixel(1, 12), kShadow);
    EXPECT_EQ(Pixel(2, 12), kFace);
    EXPECT_EQ(Pixel(40, 1), kShadow);
    EXPECT_EQ(Pixel(79, 12), kShadow);
    EXPECT_EQ(Pixel(80, 12), kBlack);
    EXPECT_EQ(Pixel(40, 23), kShadow);
}

TEST_F(ClassicLook, SelectedOptionButtonIsSunkenOnTheLightColour) {
    TarvexButton& b = Make(kClassic, kFixedGrey);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    Paint();
    EXPECT_EQ(Pixel(0, 12), kBlack);
    EXPECT_EQ(Pixel(1, 12), kShadow);
    EXPECT_EQ(Pixel(40, 12), kLight);
    EXPECT_EQ(Pixel(80, 12), kWhite);
}

using EtchedLook = LookTest;

// Fixed grey: lit face C0 + 12 = 204, dark line 80 - 26 = 102, pressed face 80 + 16 = 144.
TEST_F(EtchedLook, FixedGreyGivesLitFace204DarkLine102AndHighlightInsideOnLeftAndTop) {
    Make(kEtched, kFixedGrey);
    Paint();
    EXPECT_EQ(Pixel(40, 12), Grey(204));
    EXPECT_EQ(Pixel(78, 22), Grey(204));
    EXPECT_EQ(Pixel(1, 1), kWhite);
    EXPECT_EQ(Pixel(1, 12), kWhite);
    EXPECT_EQ(Pixel(40, 1), kWhite);
    EXPECT_EQ(Pixel(0, 0), Grey(102));
    EXPECT_EQ(Pixel(0, 12), Grey(102));
    EXPECT_EQ(Pixel(79, 12), Grey(102));
    EXPECT_EQ(Pixel(40, 23), Grey(102));
    EXPECT_EQ(Pixel(80, 12), kFace);
    EXPECT_EQ(Pixel(40, 24), kFace);
}

TEST_F(EtchedLook, PressedFaceFillsInsideTheDarkLineAndLeavesTheLastColumnAndRow) {
    TarvexButton& b = Make(kEtched, kFixedGrey);
    b.mButtonState = kStatePressed;
    Paint();
    EXPECT_EQ(Pixel(1, 1), Grey(144));
    EXPECT_EQ(Pixel(40, 12), Grey(144));
    EXPECT_EQ(Pixel(78, 22), Grey(144));
    EXPECT_EQ(Pixel(0, 12), Grey(102));
    EXPECT_EQ(Pixel(79, 12), Grey(102));
    EXPECT_EQ(Pixel(40, 23), Grey(102));
    EXPECT_EQ(Pixel(80, 12), kFace);
    EXPECT_EQ(Pixel(40, 24), kFace);
    EXPECT_EQ(Pixel(80, 24), kFace);
}

TEST_F(EtchedLook, DisabledCommandButtonIsOnlyAShadowOutline) {
    TarvexButton& b = Make(kEtched, kFixedGrey);
    b.mEnabled = kFalse;
    Paint();
    EXPECT_EQ(Pixel(0, 0), kShadow);
    EXPECT_EQ(Pixel(80, 24), kShadow);
    EXPECT_EQ(Pixel(1, 1), kFace);
    EXPECT_EQ(Pixel(40, 12), kFace);
}

TEST_F(EtchedLook, DisabledOptionButtonKeepsTheEtchedFrame) {
    TarvexButton& b = Make(kEtched, kFixedGrey);
    b.mEnabled = kFalse;
    b.mOptionButton = kTrue;
    Paint();
    EXPECT_EQ(Pixel(40, 12), Grey(204));
    EXPECT_EQ(Pixel(1, 12), kWhite);
    EXPECT_EQ(Pixel(0, 12), Grey(102));
}

using LightBevelLook = LookTest;

// Fixed grey: the lit side is light DF + 8 = E7 on both rings.
TEST_F(LightBevelLook, RestingBevelIsLitLeftAndTopShadowRightAndBottomOverTheClearedFace) {
    Make(kLightBevel, kFixedGrey);
    Paint();
    EXPECT_EQ(Pixel(0, 12), Grey(0xE7));
    EXPECT_EQ(Pixel(1, 12), Grey(0xE7));
    EXPECT_EQ(Pixel(40, 0), Grey(0xE7));
    EXPECT_EQ(Pixel(79, 12), kShadow);
    EXPECT_EQ(Pixel(80, 12), kShadow);
    EXPECT_EQ(Pixel(40, 24), kShadow);
    EXPECT_EQ(Pixel(40, 12), kFace);
}

// Face (240, 100, 0): light (255, 131, 31), lit side (255, 139, 39), red clamped at 255.
TEST_F(LightBevelLook, LitSideIsClampedAt255PerChannel) {
    Make(kLightBevel, kCustom, gdi::RGB(240, 100, 0));
    Paint();
    EXPECT_EQ(Pixel(0, 12), gdi::RGB(255, 139, 39));
    EXPECT_EQ(Pixel(1, 12), gdi::RGB(255, 139, 39));
    EXPECT_EQ(Pixel(80, 12), gdi::RGB(176, 36, 0));
}

TEST_F(LightBevelLook, WhiteLightColourStaysWhite) {
    Make(kLightBevel, kCustom, 0xFFFFFF);
    Paint();
    EXPECT_EQ(Pixel(0, 12), kWhite);
    EXPECT_EQ(Pixel(40, 1), kWhite);
}

// The sunken bevel is drawn last and covers the darkened frame completely.
TEST_F(LightBevelLook, PressedShowsOnlyTheSunkenBevel) {
    TarvexButton& b = Make(kLightBevel, kFixedGrey);
    b.mButtonState = kStatePressed;
    Paint();
    EXPECT_EQ(Pixel(0, 12), kShadow);
    EXPECT_EQ(Pixel(1, 12), kShadow);
    EXPECT_EQ(Pixel(79, 12), Grey(0xE7));
    EXPECT_EQ(Pixel(80, 12), Grey(0xE7));
    EXPECT_EQ(Pixel(40, 23), Grey(0xE7));
    EXPECT_EQ(Pixel(79, 0), kShadow);
}

TEST_F(LightBevelLook, GradientFaceShowsThroughInsideTheBevel) {
    TarvexButton& b = Make(kLightBevel, kGradient, 0x808080);
    b.mGradientStart = 0x3366CC;
    b.mGradientStop = 0x3366CC;
    Paint();
    EXPECT_EQ(Pixel(40, 12), gdi::COLORREF(0x3366CC));
    EXPECT_EQ(Pixel(2, 2), gdi::COLORREF(0x3366CC));
}

}  // namespace
}  // namespace tarvex::looks_test
