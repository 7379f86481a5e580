// Caption and icon painting: the styled passes, the underline, the icon.
#include <array>
#include <string>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

constexpr OleColor kSkipPass = -1;

struct Pass {
    OleColor colour = kSkipPass;
    std::int32_t offset = 0;
};
using Passes = std::array<Pass, 3>;

// Engraved (1), embossed (2) and shadowed (3) captions: two offset copies under the text.
Passes StyledPasses(std::int32_t style, OleColor text, OleColor mid, OleColor shadow) {
    switch (style) {
        case 1:
            return {{{shadow, -1}, {mid, +1}, {text, 0}}};
        case 2:
            return {{{mid, -1}, {shadow, +1}, {text, 0}}};
        case 3:
            return {{{shadow, +1}, {shadow, -1}, {text, 0}}};
        default:
            return {{{kSkipPass, 0}, {kSkipPass, 0}, {text, 0}}};
    }
}

OleColor Shifted(OleColor colour, std::int32_t amount) {
    return TarvexButton::ShiftColor(colour, amount, false);
}

gdi::COLORREF Colour(OleColor c) {
    return gdi::COLORREF(std::uint32_t(c) & 0x00FFFFFFu);
}

// Puts the font back and frees the caption font however painting ends.
class CaptionFontRelease {
  public:
    explicit CaptionFontRelease(TarvexButton& button) : button_(button) {}
    ~CaptionFontRelease() {
        try {
            button_.ReleaseCaptionFont();
        } catch (...) {  // a destructor must not throw; the font is gone either way
        }
    }
    CaptionFontRelease(const CaptionFontRelease&) = delete;
    CaptionFontRelease& operator=(const CaptionFontRelease&) = delete;

  private:
    TarvexButton& button_;
};

}  // namespace

void TarvexButton::DrawCaption(const OleColor& textColour, const OleColor& secondColour,
                               const OleColor& firstColour) {
    CaptionFontRelease release(*this);
    try {
        const bool enabled = mEnabled != 0;
        const bool selectedOption = mOptionButton != 0 && mValue != 0;
        const std::int32_t d =
            (mButtonState == kStatePressed && mButtonType != 4 && !mOptionButton) ? 1 : 0;

        Passes passes;
        if (enabled && mCaptionStyle != 0) {
            passes = StyledPasses(mCaptionStyle, mTextColor, mEmbossMidColor, mEmbossShadowColor);
        } else if (mColorScheme == 5 && !enabled) {
            const OleColor parentBack = OleColor(host_.FormBkColor());
            const OleColor mid = Shifted(parentBack, -192);
            const OleColor shadow = Shifted(parentBack, 31);
            passes = selectedOption ? StyledPasses(1, Shifted(parentBack, 47), mid, shadow)
                                    : StyledPasses(2, 0, mid, shadow);
        } else {
            const OleColor text =
                (mColorScheme == 5 && selectedOption) ? mGradientStart : textColour;
            passes = {{{firstColour, -1}, {secondColour, +1}, {text, 0}}};
        }

        const VBool noLayout = kFalse;
        CreateCaptionFont(noLayout);

        gdi::DeviceContext& dc = hDC();
        dc.SetBkMode(gdi::TRANSPARENT);
        for (const CaptionLine& line : mCaptionLines) {
            for (const Pass& pass : passes) {
                if (pass.colour == kSkipPass) continue;
                dc.SetTextColor(Colour(pass.colour));
                dc.TextOut(line.X + d + pass.offset, line.Y + d + pass.offset, line.Text);
            }
        }

        if (mAccessKeyPos != 0) {
            const std::int32_t x = mAccessKeyX + d;
            const std::int32_t y = mAccessKeyY + d;
            if (mCaptionOrientation == 0) {
                DrawLine(x, y, x + mAccessKeyWidth, y, textColour);
            } else {
                DrawLine(x, y, x, y + mAccessKeyWidth, textColour);
            }
        }

        if (mIconPresent == kTrue) {
            const std::int32_t S = IconCell();
            if (enabled) {
                if (mIcon && mIcon->HasHandle()) {
                    dc.DrawImage(IconImage(), mIconX + d, mIconY + d, S, S);
                }
            } else {
                const gdi::DeviceContext prepared(picIcon);
                dc.BitBlt(mIconX + d, mIconY + d, S, S, prepared, 0, 0);
            }
        }
    } catch (...) {  // a failing caption ends silently; the font is still released
    }
}

}  // namespace tarvex
