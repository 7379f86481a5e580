// Flat bevel and hover-edge looks (and every type without a look of its own). The hover-edge
// look stays edgeless while the mouse is away, as toolbar buttons do.
#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

using looks::kNoPass;

void TarvexButton::DrawFlatButton(bool backgroundPass) {
    const bool enabled = mEnabled != 0;
    auto raisedEdge = [&] { DrawBorder(mHighlightColor, mShadowColor, 0, 0, 0, true); };
    auto sunkenEdge = [&] { DrawBorder(mShadowColor, mHighlightColor, 0, 0, 0, true); };
    auto normalCaption = [&](bool hover) {
        DrawCaption(hover ? mHoverTextColor : mTextColor, kNoPass, kNoPass);
    };
    auto disabledCaption = [&] { DrawCaption(mShadowColor, mHighlightColor, kNoPass); };

    const looks::SelectedOptionState complemented(*this);
    const std::int32_t state = mButtonState;
    if (state < 0) {
        DrawRect(0, 0, ScaleWidth(), ScaleHeight(), mLightColor, false);
        sunkenEdge();
        if (enabled) {
            normalCaption(state == looks::kOptionHover);
            if (mHasFocus) DrawFocusCue();
        } else if (!backgroundPass) {
            disabledCaption();
        }
    } else if (looks::IsRestingState(state) && enabled) {
        normalCaption(state == kStateHover);
        const bool edgeless = mButtonType == 7 && !mHovering && state != kStateHover;
        if (!edgeless) raisedEdge();
        if (mHasFocus) DrawFocusCue();
    } else if (looks::IsRestingState(state)) {
        if (!backgroundPass) disabledCaption();
        if (mButtonType == 6) {
            raisedEdge();
        } else {
            DrawRect(0, 0, ScaleWidth(), ScaleHeight(), mShadowColor, true);
        }
    } else if (state == kStatePressed) {
        normalCaption(false);
        DrawFocusCue();
        sunkenEdge();
    }
}

}  // namespace tarvex
