// Etched flat look: a slightly lit flat face inside a dark line with a highlight just inside it on
// the left and top. Its focus rectangle surrounds the caption, and its caption never moves.
#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

namespace {

struct EtchedColours {
    OleColor litFace;
    OleColor darkLine;
    OleColor cornerDot;
    OleColor pressedFace;
    OleColor optionFace;
};

EtchedColours ColoursOf(const TarvexButton& b) {
    return {looks::Shift(b.mFaceColor, +12), looks::Shift(b.mShadowColor, -26),
            looks::Shift(b.mShadowColor, +26), looks::Shift(b.mShadowColor, +16),
            looks::Shift(b.mLightColor, +2)};
}

// The dark line lies on the highlight frame's right and bottom lines, so the highlight shows only
// on the left and top; the last column and row keep the cleared face.
void EtchedFrame(TarvexButton& b, const EtchedColours& c) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    b.DrawRect(1, 1, w - 1, h - 1, c.litFace, false);
    b.DrawRect(1, 1, w - 1, h - 1, b.mHighlightColor, true);
    b.DrawRect(0, 0, w - 1, h - 1, c.darkLine, true);
    if (b.mButtonStyle != 0) {
        b.SetPixelColor(1, h - 2, c.cornerDot);
        b.SetPixelColor(w - 2, 1, c.cornerDot);
    }
}

void Caption(TarvexButton& b, OleColor colour) {
    b.DrawCaption(colour, kNoPass, kNoPass);
}

void DrawRestingEnabled(TarvexButton& b, const EtchedColours& c) {
    EtchedFrame(b, c);
    if (b.mHasFocus) b.DrawFocusCue();
    Caption(b, b.mButtonState == kStateHover ? b.mHoverTextColor : b.mTextColor);
}

// A disabled option button keeps its etched frame; a disabled command button is reduced to a
// shadow-coloured outline.
void DrawRestingDisabled(TarvexButton& b, const EtchedColours& c, bool backgroundPass) {
    if (b.mOptionButton) {
        EtchedFrame(b, c);
    } else {
        b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mShadowColor, true);
    }
    if (!backgroundPass) Caption(b, b.mShadowColor);
}

void DrawPressed(TarvexButton& b, const EtchedColours& c) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    b.DrawRect(1, 1, w - 2, h - 2, c.pressedFace, false);
    Caption(b, b.mTextColor);
    b.DrawFocusCue();
    b.DrawRect(0, 0, w - 1, h - 1, c.darkLine, true);
}

void DrawSelectedOption(TarvexButton& b, const EtchedColours& c, bool backgroundPass) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), c.optionFace, false);
    b.DrawBorder(b.mShadowColor, b.mHighlightColor, 0, 0, 0, true);
    if (b.mEnabled) {
        Caption(b, b.mButtonState == looks::kOptionHover ? b.mHoverTextColor : b.mTextColor);
        if (b.mHasFocus) b.DrawFocusCue();
    } else if (!backgroundPass) {
        Caption(b, b.mShadowColor);
    }
}

}  // namespace

void TarvexButton::DrawEtchedButton(bool backgroundPass) {
    const EtchedColours colours = ColoursOf(*this);
    looks::PaintByState(
        *this,
        [&] {
            if (mEnabled) {
                DrawRestingEnabled(*this, colours);
            } else {
                DrawRestingDisabled(*this, colours, backgroundPass);
            }
        },
        [&] { DrawPressed(*this, colours); },
        [&] { DrawSelectedOption(*this, colours, backgroundPass); });
}

}  // namespace tarvex
