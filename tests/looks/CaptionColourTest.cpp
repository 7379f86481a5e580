// Which colours a look hands to the caption painter, seen in the painted glyphs (1-bit glyphs, so
// every caption pixel has exactly its pass colour). Custom scheme on a 0xC0C0C0 face: text red,
// hover text green, shadow 0x808080, highlight 0xEFEFEF.
#include <gtest/gtest.h>

#include "button/render/RenderOptions.hpp"
#include "looks/LookFixture.hpp"

namespace tarvex::looks_test {
namespace {

constexpr gdi::COLORREF kRed = 0x0000FF;
constexpr gdi::COLORREF kGreen = 0x00FF00;
constexpr gdi::COLORREF kShadow = 0x808080;
constexpr gdi::COLORREF kHighlight = 0xEFEFEF;

class CaptionColours : public LookTest {
  protected:
    CaptionColours() { SetCaptionFontQuality(gdi::NONANTIALIASED_QUALITY); }
    ~CaptionColours() override { SetCaptionFontQuality(gdi::DEFAULT_QUALITY); }

    TarvexButton& WithCaption(std::int32_t buttonType) {
        TarvexButton& b = Make(buttonType, 2);
        b.mForeColor = kRed;
        b.mHoverForeColor = kGreen;
        b.BuildPalette(false);
        b.AttachTextFont(FontObject::Create("Arial", 120000));
        b.mCaption = "MMM";
        b.mFontDirty = kTrue;
        return b;
    }

    // Whether any pixel inside the edges (three pixels in from every side) has this colour.
    bool CaptionShows(gdi::COLORREF colour) const {
        for (std::int32_t y = 3; y < host.scaleHeight - 3; ++y)
            for (std::int32_t x = 3; x < host.scaleWidth - 3; ++x)
                if (Pixel(x, y) == colour) return true;
        return false;
    }
};

TEST_F(CaptionColours, SelectedOptionUnderTheMouseKeepsTheTextColourInTheLightBevelLook) {
    TarvexButton& b = WithCaption(5);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    b.mButtonState = kStateHover;
    Paint();
    EXPECT_TRUE(CaptionShows(kRed));
    EXPECT_FALSE(CaptionShows(kGreen));
    EXPECT_EQ(b.mButtonState, kStateHover);
}

TEST_F(CaptionColours, SelectedOptionUnderTheMouseTakesTheHoverColourInTheFramedLook) {
    TarvexButton& b = WithCaption(1);
    b.mOptionButton = kTrue;
    b.mValue = kTrue;
    b.mButtonState = kStateHover;
    Paint();
    EXPECT_TRUE(CaptionShows(kGreen));
    EXPECT_FALSE(CaptionShows(kRed));
}

TEST_F(CaptionColours, ClassicDisabledOptionCaptionIsFlatGreyAndCommandCaptionIsEtched) {
    TarvexButton& option = WithCaption(2);
    option.mEnabled = kFalse;
    option.mOptionButton = kTrue;
    Paint();
    EXPECT_TRUE(CaptionShows(kShadow));
    EXPECT_FALSE(CaptionShows(kHighlight));

    TarvexButton& command = WithCaption(2);
    command.mEnabled = kFalse;
    Paint();
    EXPECT_TRUE(CaptionShows(kShadow));
    EXPECT_TRUE(CaptionShows(kHighlight));
}

TEST_F(CaptionColours, BackgroundPassOfADisabledButtonDrawsNoCaption) {
    for (std::int32_t look : {1, 2, 3, 4, 5}) {
        TarvexButton& b = WithCaption(look);
        b.mEnabled = kFalse;
        b.DrawButton(true);
        EXPECT_FALSE(CaptionShows(kShadow)) << look;
        EXPECT_FALSE(CaptionShows(kHighlight)) << look;
        EXPECT_EQ(b.mEnabled, kFalse) << look;
    }
}

// Base 240 shifted by -104: red and green 136, blue 240 - 130 = 110; not the palette's shadow.
TEST_F(CaptionColours, ShadedDisabledCaptionIsShiftedFromTheFace) {
    TarvexButton& b = WithCaption(3);
    b.mEnabled = kFalse;
    Paint();
    EXPECT_TRUE(CaptionShows(gdi::RGB(136, 136, 110)));
    EXPECT_FALSE(CaptionShows(kShadow));
}

TEST_F(CaptionColours, ShadedHoverCaptionTakesTheHoverColour) {
    TarvexButton& b = WithCaption(3);
    b.mHasFocus = kTrue;
    b.mButtonState = kStateHover;
    Paint();
    EXPECT_TRUE(CaptionShows(kGreen));
    EXPECT_FALSE(CaptionShows(kRed));
}

}  // namespace
}  // namespace tarvex::looks_test
