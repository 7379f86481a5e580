// Palette rules per scheme, system-colour translation, the system classification and the colour
// shifter, checked against values worked out by hand.
#include <gtest/gtest.h>

#include "ButtonFixture.hpp"

namespace tarvex::testing {
namespace {

struct Nine {
    OleColor face, light, highlight, shadow, darkShadow, text, hoverText, embossMid, embossShadow;
    friend bool operator==(const Nine&, const Nine&) = default;
};

Nine PaletteOf(const TarvexButton& b) {
    return {b.mFaceColor,      b.mLightColor,      b.mHighlightColor,
            b.mShadowColor,    b.mDarkShadowColor, b.mTextColor,
            b.mHoverTextColor, b.mEmbossMidColor,  b.mEmbossShadowColor};
}

void PrintTo(const Nine& n, std::ostream* os) {
    *os << std::hex << "{face " << n.face << ", light " << n.light << ", highlight " << n.highlight
        << ", shadow " << n.shadow << ", dark " << n.darkShadow << ", text " << n.text << ", hover "
        << n.hoverText << ", mid " << n.embossMid << ", embossShadow " << n.embossShadow << "}";
}

using Palette = ButtonFixture;

TEST_F(Palette, FixedGreyWithoutResetKeepsTheUserColours) {
    TarvexButton& b = Placed(true);
    b.mColorScheme = 3;
    b.mBackColor = 0x00010101;
    b.mForeColor = 0x00020202;
    b.mHoverForeColor = 0x00030303;
    b.BuildPalette(false);
    EXPECT_EQ(PaletteOf(b),
              (Nine{0xC0C0C0, 0xDFDFDF, 0xFFFFFF, 0x808080, 0, 0, 0, 0xC0C0C0, 0xFFFFFF}));
    EXPECT_EQ(b.mBackColor, 0x00010101);
    EXPECT_EQ(b.mForeColor, 0x00020202);
    EXPECT_EQ(b.mHoverForeColor, 0x00030303);
    b.BuildPalette(true);
    EXPECT_EQ(b.mBackColor, 0xC0C0C0);
    EXPECT_EQ(b.mForeColor, 0);
    EXPECT_EQ(b.mHoverForeColor, 0);
}

TEST_F(Palette, CustomEdgesAreShiftedFromTheFaceAndClamped) {
    TarvexButton& b = Placed(true);
    b.mColorScheme = 2;
    b.mEmbossMidColor = 0x00111111;
    b.mEmbossShadowColor = 0x00222222;

    b.mBackColor = 0xFFFFFF;
    b.BuildPalette(true);  // custom schemes never write back, reset or not
    EXPECT_EQ(b.mLightColor, 0xFFFFFF);
    EXPECT_EQ(b.mHighlightColor, 0xFFFFFF);
    EXPECT_EQ(b.mShadowColor, 0xBFBFBF);
    EXPECT_EQ(b.mDarkShadowColor, 0x3F3F3F);
    EXPECT_EQ(b.mBackColor, 0xFFFFFF);

    b.mBackColor = 0;
    b.BuildPalette(false);
    EXPECT_EQ(b.mShadowColor, 0);
    EXPECT_EQ(b.mDarkShadowColor, 0);
    EXPECT_EQ(b.mLightColor, 0x1F1F1F);
    EXPECT_EQ(b.mHighlightColor, 0x2F2F2F);

    b.mBackColor = 0x808080;
    b.BuildPalette(false);
    EXPECT_EQ(b.mShadowColor, 0x404040);
    EXPECT_EQ(b.mLightColor, 0x9F9F9F);
    EXPECT_EQ(b.mHighlightColor, 0xAFAFAF);
    EXPECT_EQ(b.mDarkShadowColor, 0);
    EXPECT_EQ(b.mEmbossMidColor, 0x00111111);
    EXPECT_EQ(b.mEmbossShadowColor, 0x00222222);
}

TEST_F(Palette, ContainerColoursComeFromTheForm) {
    TarvexButton& b = Placed(true);
    host.formBkColor = 0x00808080;
    host.formTextColor = 0x000000FF;
    b.mColorScheme = 4;
    b.BuildPalette(true);
    EXPECT_EQ(PaletteOf(b),
              (Nine{0x808080, 0x9F9F9F, 0xAFAFAF, 0x404040, 0, 0xFF, 0xFF, 0xC0C0C0, 0xFFFFFF}));
    EXPECT_EQ(b.mBackColor, 0x808080);
    EXPECT_EQ(b.mForeColor, 0xFF);
    EXPECT_EQ(b.mHoverForeColor, 0xFF);
}

TEST_F(Palette, SystemSchemeAndOutOfRangeSchemesTakeTheSystemsOwnColours) {
    auto table = gdi::ClassicSysColors();
    for (int i = 0; i < gdi::kSysColorCount; ++i) table[i] = gdi::COLORREF(0x010101 * i);
    gdi::SetSysColorTable(table);
    TarvexButton& b = Placed(true);
    const Nine expected{0x0F0F0F, 0x161616, 0x141414, 0x101010, 0x151515,
                        0x121212, 0x121212, 0xC0C0C0, 0xFFFFFF};
    for (std::int32_t scheme : {1, 0, 6, -3}) {
        b.mColorScheme = scheme;
        b.mBackColor = b.mForeColor = b.mHoverForeColor = 0x00ABCDEF;
        b.BuildPalette(true);
        EXPECT_EQ(PaletteOf(b), expected) << "scheme " << scheme;
        EXPECT_EQ(b.mBackColor, 0x0F0F0F);
        EXPECT_EQ(b.mForeColor, 0x121212);
        EXPECT_EQ(b.mHoverForeColor, 0x121212);
    }
}

TEST(TranslateColor, SystemValuesOnlyAreTranslated) {
    gdi::ResetSysColors();
    EXPECT_EQ(TarvexButton::TranslateColor(-1), -1);
    EXPECT_EQ(TarvexButton::TranslateColor(0x00FFFFFF), 0x00FFFFFF);
    EXPECT_EQ(TarvexButton::TranslateColor(0), 0);
    EXPECT_EQ(TarvexButton::TranslateColor(SystemColourValue(gdi::COLOR_BTNFACE)),
              Sys(gdi::COLOR_BTNFACE));
    // Only the low byte picks the colour.
    EXPECT_EQ(TarvexButton::TranslateColor(static_cast<OleColor>(0x80001212u)),
              Sys(gdi::COLOR_BTNTEXT));
}

TEST(CheckGradientSupport, ClassifiesByPlatformAndVersion) {
    struct Case {
        gdi::OSVERSIONINFO version;
        std::int16_t plain, restricted;
    };
    const Case cases[] = {
        {Version(2, 5, 1), 0, 0},   {Version(2, 5, 0), 0, 0},  {Version(2, 4, 0), 1, -1},
        {Version(2, 3, 51), 2, -1}, {Version(1, 4, 0), 0, -1}, {Version(1, 4, 10), 0, 0},
        {Version(1, 4, 90), 0, 0},  {Version(2, 10, 0), 0, 0}, {Version(2, 40, 0), 0, 0},
        {Version(24, 0, 0), 0, 0},
    };
    for (const Case& c : cases) {
        gdi::SetVersionForTesting(c.version);
        EXPECT_EQ(TarvexButton::CheckGradientSupport(false), c.plain)
            << c.version.dwPlatformId << "." << c.version.dwMajorVersion << "."
            << c.version.dwMinorVersion;
        EXPECT_EQ(TarvexButton::CheckGradientSupport(true), c.restricted);
    }
    gdi::SetVersionForTesting(std::nullopt);
}

TEST(ShiftColor, MovesAndClampsEachChannel) {
    std::string text;
    EXPECT_EQ(TarvexButton::ShiftColor(0xC0C0C0, -64, false, text), 0x808080);
    EXPECT_EQ(text, "128128128");
    EXPECT_EQ(TarvexButton::ShiftColor(0xFFFFFF, 48, false, text), 0xFFFFFF);
    EXPECT_EQ(TarvexButton::ShiftColor(0x101010, -64, false, text), 0);
    EXPECT_EQ(text, "000000000");
    EXPECT_EQ(TarvexButton::ShiftColor(0xF0F0F0, 47, false, text), 0xFFFFFF);
    // Channels move independently: red 0x10, green 0x80, blue 0xF0.
    EXPECT_EQ(TarvexButton::ShiftColor(0xF08010, 20, false, text), 0xFF9424);
    EXPECT_EQ(text, "036148255");
}

TEST(ShiftColor, ProportionalBlueScalesOnlyBlue) {
    std::string text;
    EXPECT_EQ(TarvexButton::ShiftColor(0xC0C0C0, 48, true, text), 0xF0F0F0);
    EXPECT_EQ(TarvexButton::ShiftColor(0xC0C0C0, -84, true, text), 0x6C6C6C);
    // Blue 128, green 64, red 0 by -84: blue 128 - 56 = 72, green and red clamp to 0.
    EXPECT_EQ(TarvexButton::ShiftColor(0x804000, -84, true, text), 0x480000);
    EXPECT_EQ(text, "000000072");
    // Truncation toward zero: blue 100 by -10 moves by -(1000 / 192) = -5.
    EXPECT_EQ(TarvexButton::ShiftColor(0x640000, -10, true, text), 0x5F0000);
}

TEST(ShiftColor, AmountZeroOnlyReportsTheChannels) {
    std::string text;
    for (bool flag : {false, true}) {
        EXPECT_EQ(TarvexButton::ShiftColor(0xC0C0C0, 0, flag, text), 0xC0C0C0);
        EXPECT_EQ(text, "192192192");
        EXPECT_EQ(TarvexButton::ShiftColor(0xFF0000, 0, flag, text), 0xFF0000);
        EXPECT_EQ(text, "000000255");
    }
}

}  // namespace
}  // namespace tarvex::testing
