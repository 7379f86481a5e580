// Palette and colour schemes: the nine drawing colours, system-colour translation and the
// operating-system classification behind gradients and graphics modes.
#include <string>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

constexpr OleColor kWhite = 0xFFFFFF;
constexpr OleColor kSilver = 0xC0C0C0;
constexpr OleColor kGrey = 0x808080;
constexpr OleColor kLightGrey = 0xDFDFDF;
constexpr OleColor kBlack = 0;

OleColor SystemColour(int index) {
    return static_cast<OleColor>(gdi::GetSysColor(index));
}

OleColor Shifted(OleColor colour, std::int32_t amount) {
    return TarvexButton::ShiftColor(colour, amount, false);
}

// Edges derived from the face for the schemes that have no edge colours of their own.
void DeriveEdges(TarvexButton& b) {
    b.mShadowColor = Shifted(b.mFaceColor, -64);
    b.mLightColor = Shifted(b.mFaceColor, 31);
    b.mHighlightColor = Shifted(b.mFaceColor, 47);
    b.mDarkShadowColor = Shifted(b.mFaceColor, -192);
}

void BuildCustomPalette(TarvexButton& b) {
    b.mTextColor = b.mForeColor;
    b.mHoverTextColor = b.mHoverForeColor;
    b.mFaceColor = b.mBackColor;
    DeriveEdges(b);
}

void BuildFixedGreyPalette(TarvexButton& b, bool reset) {
    b.mHighlightColor = kWhite;
    b.mEmbossShadowColor = kWhite;
    b.mFaceColor = kSilver;
    b.mShadowColor = kGrey;
    b.mLightColor = kLightGrey;
    b.mDarkShadowColor = kBlack;
    b.mTextColor = kBlack;
    b.mHoverTextColor = kBlack;
    b.mEmbossMidColor = kSilver;
    if (reset) {
        b.mBackColor = kSilver;
        b.mForeColor = kBlack;
        b.mHoverForeColor = kBlack;
    }
}

void BuildContainerPalette(TarvexButton& b, bool reset) {
    b.mFaceColor = static_cast<OleColor>(b.Host().FormBkColor());
    b.mTextColor = static_cast<OleColor>(b.Host().FormTextColor());
    b.mHoverTextColor = b.mTextColor;
    DeriveEdges(b);
    b.mEmbossMidColor = kSilver;
    b.mEmbossShadowColor = kWhite;
    if (reset) {
        b.mBackColor = b.mFaceColor;
        b.mForeColor = b.mTextColor;
        b.mHoverForeColor = b.mHoverTextColor;
    }
}

// The system's own edge colours; nothing is derived.
void BuildSystemPalette(TarvexButton& b, bool reset) {
    b.mFaceColor = SystemColour(gdi::COLOR_BTNFACE);
    b.mShadowColor = SystemColour(gdi::COLOR_BTNSHADOW);
    b.mLightColor = SystemColour(gdi::COLOR_3DLIGHT);
    b.mDarkShadowColor = SystemColour(gdi::COLOR_3DDKSHADOW);
    b.mHighlightColor = SystemColour(gdi::COLOR_BTNHIGHLIGHT);
    b.mTextColor = SystemColour(gdi::COLOR_BTNTEXT);
    b.mHoverTextColor = SystemColour(gdi::COLOR_BTNTEXT);
    b.mEmbossMidColor = kSilver;
    b.mEmbossShadowColor = kWhite;
    if (reset) {
        b.mBackColor = b.mFaceColor;
        b.mForeColor = b.mTextColor;
        b.mHoverForeColor = b.mTextColor;
    }
}

}  // namespace

void TarvexButton::BuildPalette(bool reset) {
    switch (mColorScheme) {
        case 2:
        case 5:
            BuildCustomPalette(*this);
            break;
        case 3:
            BuildFixedGreyPalette(*this, reset);
            break;
        case 4:
            BuildContainerPalette(*this, reset);
            break;
        default:
            BuildSystemPalette(*this, reset);
            break;
    }
}

OleColor TarvexButton::TranslateColor(OleColor colour) {
    if (colour < -1) return SystemColour(static_cast<int>(colour & 0xFF));
    return colour;
}

// "platform.major.minor" of the running system decides: old NT versions pick a graphics mode of
// their own, and the oldest systems may not change colour schemes at all.
std::int16_t TarvexButton::CheckGradientSupport(bool restrict) {
    const gdi::OSVERSIONINFO v = gdi::GetVersionEx();
    const std::string key = std::to_string(v.dwPlatformId) + "." +
                            std::to_string(v.dwMajorVersion) + "." +
                            std::to_string(v.dwMinorVersion);
    std::int16_t result = 0;
    if (key == "2.4.0") result = 1;
    if (key == "2.3.51") result = 2;
    if (restrict && (key == "1.4.0" || key == "2.4.0" || key == "2.3.51")) result = -1;
    return result;
}

}  // namespace tarvex
