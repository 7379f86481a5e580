// Soft-frame look: a light face in a dark frame with corners softened pixel by pixel. On a
// rectangular button the window shape removes three pixels per corner; the pixels drawn here
// complete the rounded outline.
#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

void TarvexButton::DrawSoftFrameButton(bool backgroundPass) {
    if (mOptionButton && mValue) mButtonState = kStatePressed;
    const std::int32_t state = mButtonState;
    if (state < 0 || state > kStateHover) return;

    const std::int32_t W = ScaleWidth();
    const std::int32_t H = ScaleHeight();
    const bool rectangular = mButtonStyle == 0;
    const bool enabled = mEnabled != 0;
    auto shadowLess = [this](std::int32_t n) { return looks::Shift(mShadowColor, -n); };

    auto cornerAndEdgeDetail = [&] {
        SetPixelColor(1, 1, mDarkShadowColor);
        SetPixelColor(1, H - 2, mDarkShadowColor);
        SetPixelColor(W - 2, 1, mDarkShadowColor);
        SetPixelColor(W - 2, H - 2, mDarkShadowColor);
        SetPixelColor(1, 2, mFaceColor);
        SetPixelColor(2, 1, mFaceColor);
        SetPixelColor(3, 3, mHighlightColor);
        SetPixelColor(W - 4, H - 4, mFaceColor);
        SetPixelColor(W - 3, H - 3, mShadowColor);
        SetPixelColor(2, H - 2, mFaceColor);
        SetPixelColor(2, H - 3, mLightColor);
        SetPixelColor(W - 2, 2, mFaceColor);
        SetPixelColor(W - 3, 2, mLightColor);
        DrawLine(3, 2, W - 3, 2, mHighlightColor);
        DrawLine(2, 2, 2, H - 3, mHighlightColor);
        DrawLine(W - 3, 1, W - 3, H - 3, mFaceColor);
        DrawLine(1, H - 3, W - 3, H - 3, mFaceColor);
        DrawLine(W - 2, 3, W - 2, H - 2, mShadowColor);
        DrawLine(3, H - 2, W - 2, H - 2, mShadowColor);
    };

    if (state != kStatePressed && enabled) {
        DrawRect(1, 1, W - 1, H - 1, mLightColor, false);
        DrawRect(0, 0, W, H, mDarkShadowColor, true);
        if (rectangular) cornerAndEdgeDetail();
        DrawCaption(state == kStateHover ? mHoverTextColor : mTextColor, kNoPass, kNoPass);
        if (mHasFocus) DrawFocusCue();
        return;
    }
    if (state != kStatePressed) {
        DrawRect(1, 1, W - 2, H - 2, mLightColor, false);
        DrawRect(0, 0, W, H, mDarkShadowColor, true);
        if (rectangular) cornerAndEdgeDetail();
        if (!backgroundPass) DrawCaption(mShadowColor, mHighlightColor, kNoPass);
        return;
    }

    // Pressed, or a selected option button.
    const OleColor s16 = shadowLess(16);
    const OleColor s32 = shadowLess(32);
    const OleColor s64 = shadowLess(64);
    if (rectangular) {
        SetPixelColor(2, 2, s64);
        SetPixelColor(3, 3, s32);
        SetPixelColor(1, 1, mDarkShadowColor);
        SetPixelColor(1, H - 2, mDarkShadowColor);
        SetPixelColor(W - 2, 1, mDarkShadowColor);
        SetPixelColor(W - 2, H - 2, mDarkShadowColor);
        SetPixelColor(W - 4, H - 4, mShadowColor);
        SetPixelColor(W - 2, H - 3, s32);
        SetPixelColor(W - 3, H - 2, s32);
        SetPixelColor(2, H - 2, s32);
        SetPixelColor(2, H - 3, s16);
        SetPixelColor(1, H - 3, s16);
        SetPixelColor(W - 2, 2, s32);
        SetPixelColor(W - 3, 2, s16);
        SetPixelColor(W - 3, 1, s16);
        DrawRect(1, 1, W - 2, H - 2, s64, true);
        DrawRect(2, 2, W - 4, H - 4, s32, true);
    }
    DrawLine(W - 3, 1, W - 3, H - 3, mShadowColor);
    DrawLine(1, H - 3, W - 2, H - 3, mShadowColor);
    DrawLine(W - 2, 3, W - 2, H - 2, s16);
    DrawLine(2, H - 1, W - 2, H - 1, s16);
    DrawFocusCue();
    DrawRect(1, 1, W - 2, H - 2, s16, false);
    DrawRect(0, 0, W, H, mDarkShadowColor, true);
    if (!enabled) {
        DrawCaption(mLightColor, kNoPass, kNoPass);
    } else if (mOptionButton && mValue) {
        DrawCaption(mLightColor, kNoPass, kNoPass);
        if (mHasFocus == kTrue) DrawFocusCue();
    } else {
        DrawCaption(mShadowColor, mHighlightColor, kNoPass);
    }
}

}  // namespace tarvex
