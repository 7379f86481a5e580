// Classic 3-D look: the raised push button of the system palette; focus marks it as the default
// button with an extra dark frame.
#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

namespace {

void RaisedClassicBevel(TarvexButton& b) {
    b.DrawBorder(b.mHighlightColor, b.mDarkShadowColor, b.mLightColor, b.mShadowColor, 1, false);
}

void SunkenClassicBevel(TarvexButton& b) {
    b.DrawBorder(b.mDarkShadowColor, b.mHighlightColor, b.mShadowColor, b.mLightColor, 0, false);
}

void DarkFrame(TarvexButton& b) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mDarkShadowColor, true);
}

void InnerShadowFrame(TarvexButton& b) {
    b.DrawRect(1, 1, b.ScaleWidth() - 1, b.ScaleHeight() - 1, b.mShadowColor, true);
}

void NormalCaption(TarvexButton& b, bool hovered) {
    b.DrawCaption(hovered ? b.mHoverTextColor : b.mTextColor, kNoPass, kNoPass);
}

// An option button greys its caption flat; a command button etches it.
void DisabledCaption(TarvexButton& b) {
    if (b.mOptionButton) {
        b.DrawCaption(b.mShadowColor, kNoPass, kNoPass);
    } else {
        b.DrawCaption(b.mShadowColor, b.mHighlightColor, kNoPass);
    }
}

void DrawResting(TarvexButton& b, bool backgroundPass) {
    RaisedClassicBevel(b);
    if (b.mEnabled) {
        if (b.mHasFocus) {
            DarkFrame(b);
            b.DrawFocusCue();
        }
        NormalCaption(b, b.mButtonState == kStateHover);
    } else if (!backgroundPass) {
        DisabledCaption(b);
    }
}

// Pressed, the button is flat: no bevel, only the two frames.
void DrawPressed(TarvexButton& b) {
    DarkFrame(b);
    InnerShadowFrame(b);
    b.DrawFocusCue();
    b.DrawCaption(b.mTextColor, kNoPass, kNoPass);
}

void DrawSelectedOption(TarvexButton& b, bool backgroundPass) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mLightColor, false);
    SunkenClassicBevel(b);
    if (b.mEnabled) {
        if (b.mHasFocus || b.mButtonState == looks::kOptionPressed) b.DrawFocusCue();
        NormalCaption(b, b.mButtonState == looks::kOptionHover);
    } else if (!backgroundPass) {
        b.DrawCaption(b.mShadowColor, kNoPass, kNoPass);
    }
}

}  // namespace

void TarvexButton::DrawClassicButton(bool backgroundPass) {
    looks::PaintByState(
        *this, [&] { DrawResting(*this, backgroundPass); }, [&] { DrawPressed(*this); },
        [&] { DrawSelectedOption(*this, backgroundPass); });
}

}  // namespace tarvex
