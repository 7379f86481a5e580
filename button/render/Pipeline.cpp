// Redraw pipeline: RefreshButton, DrawButton, the look dispatch table, Show, Resize, Terminate.
//
// The control never paints on a paint message: it paints its whole face into its back buffer
// (the persistent image behind hDC) and asks the host to present it.
#include <algorithm>
#include <array>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

// Runs one step of a redraw; a failing step is absorbed so that the next one still runs.
template <typename Step>
void Absorbing(Step&& step) noexcept {
    try {
        step();
    } catch (...) {  // absorbed: the image is presented whatever failed
    }
}

constexpr std::int32_t kHoverEdgeType = 7;
constexpr std::int32_t kContainerColorsScheme = 2;
constexpr std::int32_t kGradientScheme = 5;

using Renderer = TarvexButton::Renderer;

// Indexed by ButtonType; the entries without a look of their own fall back to the flat look.
constexpr std::array<Renderer, 9> kRenderers{
    &TarvexButton::DrawFlatButton,         // 0
    &TarvexButton::DrawFramedBevelButton,  // 1
    &TarvexButton::DrawClassicButton,      // 2
    &TarvexButton::DrawShadedButton,       // 3
    &TarvexButton::DrawEtchedButton,       // 4
    &TarvexButton::DrawLightBevelButton,   // 5
    &TarvexButton::DrawFlatButton,         // 6
    &TarvexButton::DrawFlatButton,         // 7
    &TarvexButton::DrawSoftFrameButton,    // 8
};

std::int32_t ClampedSide(std::int32_t side) {
    return std::clamp(side, 0, gdi::kMaxSurfaceSide);
}

// Puts back what the background pass changed, however the redraw ends.
class BackgroundPassState {
  public:
    BackgroundPassState(TarvexButton& button, bool active) : button_(button), active_(active) {
        if (!active_) return;
        state_ = button_.mButtonState;
        enabled_ = button_.mEnabled;
        button_.mButtonState = kStateBackgroundPass;
        button_.mEnabled = kFalse;
    }
    ~BackgroundPassState() {
        if (!active_) return;
        button_.mButtonState = state_;
        button_.mEnabled = enabled_;
    }
    BackgroundPassState(const BackgroundPassState&) = delete;
    BackgroundPassState& operator=(const BackgroundPassState&) = delete;

  private:
    TarvexButton& button_;
    bool active_;
    std::int32_t state_ = 0;
    VBool enabled_ = 0;
};

// A control whose window is disabled by a window around it draws its disabled look for as long as
// that lasts; its own Enabled setting stays as it was.
class DisabledLook {
  public:
    explicit DisabledLook(TarvexButton& button)
        : button_(button), active_(button.mEnabled != 0 && !button.Host().EffectivelyEnabled()) {
        if (active_) button_.mEnabled = kFalse;
    }
    ~DisabledLook() {
        if (active_) button_.mEnabled = kTrue;
    }
    DisabledLook(const DisabledLook&) = delete;
    DisabledLook& operator=(const DisabledLook&) = delete;

  private:
    TarvexButton& button_;
    bool active_;
};

// The face before the look is drawn: the gradient, the container's colour for a hover-edge
// button that the mouse is away from, or the face colour.
void ClearFace(TarvexButton& b) {
    if (b.mColorScheme == kGradientScheme) {
        b.DrawGradient();
    } else if (b.mButtonType == kHoverEdgeType && b.mColorScheme == kContainerColorsScheme &&
               b.mButtonState != kStateHover) {
        b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), OleColor(b.Host().FormBkColor()), false);
    } else {
        b.DrawRect(0, 0, b.ScaleWidth(), b.ScaleHeight(), b.mFaceColor, false);
    }
}

}  // namespace

TarvexButton::Renderer TarvexButton::RendererFor(std::int32_t buttonType) {
    if (buttonType < 0 || std::size_t(buttonType) >= kRenderers.size()) {
        return &TarvexButton::DrawFlatButton;
    }
    return kRenderers[std::size_t(buttonType)];
}

void TarvexButton::RefreshButton() {
    mRedrawFlag = kTrue;
    DrawButton(false);
    host_.Refresh();
}

void TarvexButton::DrawButton(bool backgroundPass) {
    {
        BackgroundPassState passState(*this, backgroundPass);
        {
            DisabledLook disabledLook(*this);
            Absorbing([&] { SyncBackBufferSize(); });
            Absorbing([&] { ClearFace(*this); });
            Absorbing([&] {
                if (mFontDirty == kTrue) CreateCaptionFont(mFontDirty);
            });
            Absorbing([&] { (this->*RendererFor(mButtonType))(backgroundPass); });
            // A renderer that failed before its caption leaves the caption font selected.
            Absorbing([&] { ReleaseCaptionFont(); });
        }
        Absorbing([&] { host_.Refresh(); });
    }
    Absorbing([&] {
        if (!UserMode()) mButtonState = kStateNormal;
    });
}

void TarvexButton::Show() {
    mRedrawFlag = kTrue;
    if (mOptionButton && mValue) UpdateOptionGroup();
    Resize();
}

void TarvexButton::Resize() {
    if (mRedrawFlag == 0) return;
    SyncBackBufferSize();
    BuildRegion();
    host_.SetWindowRgn(mRegion, true);
    LayoutCaption();
    PrepareIcon();
    RefreshButton();
}

void TarvexButton::ResolutionChanged() {
    // The layout measures with the selected caption font when there is one: it must not measure
    // with the font of the old height.
    ReleaseCaptionFont();
    mFontDirty = kTrue;
    Resize();
}

void TarvexButton::Terminate() {
    // The window owns an installed shape; dropping our handle frees nothing it still shows.
    Absorbing([&] { mRegion.reset(); });
    Absorbing([&] { ReleaseCaptionFont(); });
    Absorbing([&] {
        textFontSubscription_.Reset();
        TextFont.reset();
    });
    Absorbing([&] { mIcon.reset(); });
}

gdi::DeviceContext& TarvexButton::hDC() {
    if (!dc_) dc_ = std::make_unique<gdi::DeviceContext>(backBuffer_);
    return *dc_;
}

void TarvexButton::SyncBackBufferSize() {
    const std::int32_t width = ClampedSide(ScaleWidth());
    const std::int32_t height = ClampedSide(ScaleHeight());
    if (backBuffer_.width() == width && backBuffer_.height() == height) return;
    gdi::Surface resized(width, height);
    const std::int32_t keepWidth = std::min(width, backBuffer_.width());
    const std::int32_t keepHeight = std::min(height, backBuffer_.height());
    for (std::int32_t y = 0; y < keepHeight; ++y) {
        std::copy_n(backBuffer_.row(y), keepWidth, resized.row(y));
    }
    // The context keeps pointing at backBuffer_, which now holds the resized pixels.
    backBuffer_ = std::move(resized);
    hDC().Rebind(backBuffer_);
}

}  // namespace tarvex
