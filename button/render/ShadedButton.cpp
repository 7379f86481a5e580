// Shaded look: a face shaded row by row from the face colour, a dark-blue frame with softened
// corners, bevels computed from the face, an orange hover ring and a light-blue focus ring.
// Apart from the face and caption colours every colour here is fixed.
#include <cstdint>

#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

namespace {

constexpr OleColor kFrameBlue = 0x733C00;
constexpr OleColor kCornerBlue = 0x7B4D10;
constexpr OleColor kHoverOrange = 0x31B2FF;
constexpr OleColor kHoverLightOrange = 0x6BCBFF;
constexpr OleColor kHoverDarkOrange = 0x0096E7;
constexpr OleColor kHoverPale = 0xCEF3FF;
constexpr OleColor kFocusBlue = 0xE7AE8C;
constexpr OleColor kFocusLightBlue = 0xF0D1B5;
constexpr OleColor kFocusDeepBlue = 0xEF826B;
constexpr OleColor kFocusPaleBlue = 0xFFE7CE;

// Every shift of this look scales the blue channel with its own value, which keeps the face's
// hue: a face without blue never gains any.
OleColor S(OleColor colour, std::int32_t amount) {
    return looks::Shift(colour, amount, true);
}

// 25 x row / height, rounded to the nearest integer with halves to even, computed exactly so
// that no row depends on floating-point error.
std::int32_t ShadeAmount(std::int32_t row, std::int32_t height) {
    const std::int64_t numerator = 25LL * row;
    std::int64_t quotient = numerator / height;
    const std::int64_t twiceRemainder = 2 * (numerator % height);
    if (twiceRemainder > height || (twiceRemainder == height && (quotient & 1) != 0)) ++quotient;
    return static_cast<std::int32_t>(quotient);
}

// The face darkens by about 25 units from row 1 down; row 0 keeps the cleared colour.
void ShadeDownward(TarvexButton& b, OleColor base) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    for (std::int32_t i = 1; i <= h; ++i) b.DrawLine(0, i, w, i, S(base, -ShadeAmount(i, h)));
}

// Darkest at the top: row h - i gets the shade of row i of the downward shading.
void ShadeUpward(TarvexButton& b, OleColor base) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    for (std::int32_t i = 1; i <= h; ++i) {
        b.DrawLine(0, h - i, w, h - i, S(base, -ShadeAmount(i, h)));
    }
}

bool IsRectangular(const TarvexButton& b) {
    return b.mButtonStyle == 0;
}

void CornerDots(TarvexButton& b, OleColor colour) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    b.SetPixelColor(1, 1, colour);
    b.SetPixelColor(1, h - 2, colour);
    b.SetPixelColor(w - 2, 1, colour);
    b.SetPixelColor(w - 2, h - 2, colour);
}

void BlueFrame(TarvexButton& b) {
    b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), kFrameBlue, true);
}

void RaisedShadedBevel(TarvexButton& b, OleColor base) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    b.DrawLine(2, h - 2, w - 2, h - 2, S(base, -48));
    b.DrawLine(1, h - 3, w - 2, h - 3, S(base, -32));
    b.DrawLine(w - 2, 2, w - 2, h - 2, S(base, -36));
    b.DrawLine(w - 3, 3, w - 3, h - 3, S(base, -24));
    b.DrawLine(2, 1, w - 2, 1, S(base, +16));
    b.DrawLine(1, 2, w - 2, 2, S(base, +10));
    b.DrawLine(1, 2, 1, h - 2, S(base, -5));
    b.DrawLine(2, 3, 2, h - 3, S(base, -10));
}

void SunkenShadedBevel(TarvexButton& b, OleColor base) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    b.DrawLine(2, h - 2, w - 2, h - 2, S(base, +16));
    b.DrawLine(1, h - 3, w - 2, h - 3, S(base, +10));
    b.DrawLine(w - 2, 2, w - 2, h - 2, S(base, +5));
    b.DrawLine(w - 3, 3, w - 3, h - 3, base);
    b.DrawLine(2, 1, w - 2, 1, S(base, -32));
    b.DrawLine(1, 2, w - 2, 2, S(base, -24));
    b.DrawLine(1, 2, 1, h - 2, S(base, -32));
    b.DrawLine(2, 2, 2, h - 2, S(base, -22));
}

void HoverRing(TarvexButton& b) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    if (IsRectangular(b)) {
        b.DrawRect(2, 2, w - 2, h - 2, kHoverOrange, true);
        b.DrawLine(1, 2, 1, h - 2, kHoverLightOrange);
        b.DrawLine(2, h - 2, w - 2, h - 2, kHoverDarkOrange);
        b.DrawLine(2, 1, w - 2, 1, kHoverPale);
        b.DrawLine(w - 2, 2, w - 2, h - 2, kHoverLightOrange);
    } else {
        b.DrawRect(0, 0, w, h, kFrameBlue, true);
        b.DrawRect(1, 1, w - 1, h - 1, kHoverLightOrange, true);
        b.DrawRect(2, 2, w - 2, h - 2, kHoverOrange, true);
    }
}

void FocusRing(TarvexButton& b) {
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    if (IsRectangular(b)) {
        b.DrawRect(1, 2, w - 2, h - 2, kFocusBlue, true);
        b.DrawLine(3, 2, 3, h - 2, kFocusLightBlue);
        b.DrawLine(3, h - 2, w - 3, h - 2, kFocusDeepBlue);
        b.DrawLine(4, 3, w - 4, 3, kFocusPaleBlue);
        b.DrawLine(w - 4, 3, w - 4, h - 3, kFocusLightBlue);
        b.DrawRect(1, 1, w - 1, h - 1, kFocusBlue, true);
    } else {
        b.DrawRect(0, 0, w, h, kFrameBlue, true);
        b.DrawRect(1, 1, w - 1, h - 1, kFocusBlue, true);
    }
}

void Caption(TarvexButton& b, bool hovered) {
    b.DrawCaption(hovered ? b.mHoverTextColor : b.mTextColor, kNoPass, kNoPass);
}

// Hover wins over focus; a button with neither gets the raised bevel inside the blue frame.
void EdgeForAttention(TarvexButton& b, bool hovered, OleColor base) {
    if (hovered) {
        HoverRing(b);
    } else if (b.mHasFocus) {
        FocusRing(b);
    } else {
        RaisedShadedBevel(b, base);
        BlueFrame(b);
    }
}

void DrawRestingEnabled(TarvexButton& b) {
    const OleColor base = S(b.mFaceColor, +48);
    const bool hovered = b.mButtonState == kStateHover;
    ShadeDownward(b, base);
    if (IsRectangular(b)) {
        BlueFrame(b);
        CornerDots(b, kCornerBlue);
    }
    EdgeForAttention(b, hovered, base);
    Caption(b, hovered);
}

// Disabled: a flat face without shading, a darker frame and a caption shifted from the face.
void DrawRestingDisabled(TarvexButton& b, bool backgroundPass) {
    const OleColor base = S(b.mFaceColor, +48);
    const std::int32_t w = b.ScaleWidth();
    const std::int32_t h = b.ScaleHeight();
    b.DrawRect(0, 0, w, h, S(base, -24), false);
    b.DrawRect(0, 0, w, h, S(base, -84), true);
    if (IsRectangular(b)) CornerDots(b, S(base, -72));
    if (!backgroundPass) b.DrawCaption(S(base, -104), kNoPass, kNoPass);
}

void DrawPressed(TarvexButton& b) {
    const OleColor base = S(S(b.mFaceColor, +48), -32);
    ShadeUpward(b, base);
    if (IsRectangular(b)) CornerDots(b, kCornerBlue);
    SunkenShadedBevel(b, base);
    BlueFrame(b);
    Caption(b, false);
    if (b.mHasFocus) b.DrawRect(1, 2, b.ScaleWidth() - 2, b.ScaleHeight() - 2, kFocusBlue, true);
}

void DrawSelectedOption(TarvexButton& b, bool backgroundPass) {
    const OleColor base = S(S(b.mFaceColor, -22), +32);
    ShadeUpward(b, base);
    if (IsRectangular(b)) CornerDots(b, kCornerBlue);
    SunkenShadedBevel(b, base);
    BlueFrame(b);
    if (b.mEnabled) {
        const bool hovered = b.mButtonState == looks::kOptionHover;
        EdgeForAttention(b, hovered, base);
        Caption(b, hovered);
    } else if (!backgroundPass) {
        b.DrawCaption(b.mHighlightColor, kNoPass, kNoPass);
    }
}

}  // namespace

void TarvexButton::DrawShadedButton(bool backgroundPass) {
    // The shading is spread over the height; a button without height has nothing to shade.
    if (ScaleHeight() <= 0) return;
    looks::PaintByState(
        *this,
        [&] {
            if (mEnabled) {
                DrawRestingEnabled(*this);
            } else {
                DrawRestingDisabled(*this, backgroundPass);
            }
        },
        [&] { DrawPressed(*this); }, [&] { DrawSelectedOption(*this, backgroundPass); });
}

}  // namespace tarvex
