// Framed double-bevel look: a dark one-pixel frame around a two-ring bevel.
#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

namespace {

void RaisedFramedBevel(TarvexButton& b) {
    b.DrawBorder(b.mHighlightColor, b.mShadowColor, b.mHighlightColor, b.mShadowColor, 1, false);
}

void PressedFramedBevel(TarvexButton& b) {
    b.DrawBorder(b.mShadowColor, b.mHighlightColor, b.mShadowColor, b.mHighlightColor, 1, false);
}

void SunkenFramedBevel(TarvexButton& b) {
    b.DrawBorder(b.mShadowColor, b.mHighlightColor, b.mShadowColor, b.mHighlightColor, 0, false);
}

// Drawn after the inset bevel so that it covers the bevel's outer right and bottom lines.
void DarkFrame(TarvexButton& b) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mDarkShadowColor, true);
}

void NormalCaption(TarvexButton& b, bool hovered) {
    b.DrawCaption(hovered ? b.mHoverTextColor : b.mTextColor, kNoPass, kNoPass);
}

void EtchedCaption(TarvexButton& b) {
    b.DrawCaption(b.mShadowColor, b.mHighlightColor, kNoPass);
}

void DrawResting(TarvexButton& b, bool backgroundPass) {
    RaisedFramedBevel(b);
    DarkFrame(b);
    if (b.mEnabled) {
        NormalCaption(b, b.mButtonState == kStateHover);
        if (b.mHasFocus) b.DrawFocusCue();
    } else if (!backgroundPass) {
        EtchedCaption(b);
    }
}

void DrawPressed(TarvexButton& b) {
    PressedFramedBevel(b);
    DarkFrame(b);
    b.DrawFocusCue();
    b.DrawCaption(b.mTextColor, kNoPass, kNoPass);
}

// A selected option button sits sunken on a light face, without the dark frame.
void DrawSelectedOption(TarvexButton& b, bool backgroundPass) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mLightColor, false);
    SunkenFramedBevel(b);
    if (b.mEnabled) {
        if (b.mHasFocus || b.mButtonState == looks::kOptionPressed) b.DrawFocusCue();
        NormalCaption(b, b.mButtonState == looks::kOptionHover);
    } else if (!backgroundPass) {
        EtchedCaption(b);
    }
}

}  // namespace

void TarvexButton::DrawFramedBevelButton(bool backgroundPass) {
    looks::PaintByState(
        *this, [&] { DrawResting(*this, backgroundPass); }, [&] { DrawPressed(*this); },
        [&] { DrawSelectedOption(*this, backgroundPass); });
}

}  // namespace tarvex
