// Light bevel look: the cleared face (a gradient shows through) inside a two-pixel bevel whose lit
// side is a little lighter than the light colour.
#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

namespace {

// Clamped at 255: a white light colour stays white.
OleColor LitSide(const TarvexButton& b) {
    return looks::Shift(b.mLightColor, +8);
}

void RaisedLightBevel(TarvexButton& b) {
    const OleColor lit = LitSide(b);
    b.DrawBorder(lit, b.mShadowColor, lit, b.mShadowColor, 0, false);
}

void SunkenLightBevel(TarvexButton& b) {
    const OleColor lit = LitSide(b);
    b.DrawBorder(b.mShadowColor, lit, b.mShadowColor, lit, 0, false);
}

void Caption(TarvexButton& b, OleColor colour) {
    b.DrawCaption(colour, kNoPass, kNoPass);
}

void DrawResting(TarvexButton& b, bool backgroundPass) {
    if (b.mEnabled) {
        Caption(b, b.mButtonState == kStateHover ? b.mHoverTextColor : b.mTextColor);
        RaisedLightBevel(b);
        if (b.mHasFocus) b.DrawFocusCue();
    } else {
        if (!backgroundPass) Caption(b, b.mShadowColor);
        RaisedLightBevel(b);
    }
}

// The sunken bevel comes last and covers the frame where they meet.
void DrawPressed(TarvexButton& b) {
    b.DrawRect(0, 0, b.ScaleWidth() - 1, b.ScaleHeight() - 1, looks::Shift(b.mShadowColor, -26),
               true);
    Caption(b, b.mTextColor);
    b.DrawFocusCue();
    SunkenLightBevel(b);
}

// A selected option button keeps the plain caption colour even under the mouse.
void DrawSelectedOption(TarvexButton& b, bool backgroundPass) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mLightColor, false);
    SunkenLightBevel(b);
    if (b.mEnabled) {
        Caption(b, b.mTextColor);
        if (b.mHasFocus == kTrue) b.DrawFocusCue();
    } else if (!backgroundPass) {
        Caption(b, b.mShadowColor);
    }
}

}  // namespace

void TarvexButton::DrawLightBevelButton(bool backgroundPass) {
    looks::PaintByState(
        *this, [&] { DrawResting(*this, backgroundPass); }, [&] { DrawPressed(*this); },
        [&] { DrawSelectedOption(*this, backgroundPass); });
}

}  // namespace tarvex
