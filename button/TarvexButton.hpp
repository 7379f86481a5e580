// TarvexButton: an owner-drawn push button. Its members are the single source of truth that every
// renderer reads; property procedures, interaction handlers and the redraw pipeline change them.
//
// The member variables and the internal procedures are public so that the renderers' dispatch
// table and the tests can reach them; only the control's own procedures write the members.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "button/HostServices.hpp"
#include "button/Types.hpp"
#include "gdi/gdi.hpp"

namespace tarvex {

class PropertyBag;

enum class ButtonType : std::int32_t {
    FramedBevel = 1,
    Classic = 2,
    Shaded = 3,
    EtchedFlat = 4,
    LightBevel = 5,
    FlatBevel = 6,
    HoverEdge = 7,
    SoftFrame = 8,
};
enum class ColorScheme : std::int32_t {
    SystemColors = 1,
    CustomColors = 2,
    FixedGrey = 3,
    ContainerColors = 4,
    CustomGradient = 5,
};
enum class Alignment : std::int32_t { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };
enum class IconAlignmentValue : std::int32_t { IconBeforeCaption = 0, IconAfterCaption = 1 };
enum class CaptionOrientation : std::int32_t { Horizontal = 0, VerticalUp = 1, VerticalDown = 2 };
enum class CaptionStyle : std::int32_t { Plain = 0, Engraved = 1, Embossed = 2, Shadowed = 3 };
enum class ButtonStyle : std::int32_t {
    Rectangular = 0,
    SegmentLeft = 1,
    SegmentMiddle = 2,
    SegmentRight = 3,
};
enum class IconSize : std::int32_t { Size8 = 1, Size16 = 2, Size24 = 3, Size32 = 4 };
enum class GradientOrientation : std::int32_t {
    LeftToRight = 0,
    TopToBottom = 1,
    RightToLeft = 2,
    BottomToTop = 3,
};
enum class GraphicsMode : std::int32_t { GraphicsModeAuto = -1, Compatible = 1, Advanced = 2 };

/// Visual states held in mButtonState.
enum : std::int32_t {
    kStateNormal = 0,
    kStateBackgroundPass = 1,
    kStatePressed = 2,
    kStateFocused = 3,
    kStateHover = 4,
};

/// One laid-out caption line.
struct CaptionLine {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    std::u32string Text;
};

struct CaptionRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

class TarvexButton {
  public:
    /// The creation step runs here (mLastMouseButton = 1, mRedrawFlag = 0, everything else
    /// zero/empty). The host must outlive the control.
    explicit TarvexButton(ControlHost& host);
    ~TarvexButton();  // the terminate step
    TarvexButton(const TarvexButton&) = delete;
    TarvexButton& operator=(const TarvexButton&) = delete;

    ControlHost& Host() { return host_; }
    const ControlHost& Host() const { return host_; }

    /// Expires when the control is destroyed. A container's event handler may destroy the control
    /// (a window that deletes the button inside Click); whoever raised the event watches this to
    /// stop at once instead of running on in a control that is gone.
    std::weak_ptr<const void> LifeToken() const { return lifeToken_; }

    // ---- Properties (get; let/set) ------------------------------------------------------------
    std::int32_t Alignment() const { return mAlignment; }
    void SetAlignment(std::int32_t newAlign);
    VBool ShowFocus() const { return mShowFocus; }
    void SetShowFocus(VBool bFocusOn);
    std::int32_t GraphicsMode() const { return mGraphicsMode; }
    void SetGraphicsMode(std::int32_t newMode);
    VBool Value() const { return mValue; }
    void SetValue(VBool newValue);
    VBool OptionButton() const { return mOptionButton; }
    void SetOptionButton(VBool newValue);
    std::int32_t IconAlignmentValue() const { return mIconAlignment; }
    void SetIconAlignmentValue(std::int32_t newAlignment);
    OleColor EmbossEngraveShadow() const { return mEmbossShadowColor; }
    void SetEmbossEngraveShadow(OleColor theCol);
    OleColor EmbossEngraveMid() const { return mEmbossMidColor; }
    void SetEmbossEngraveMid(OleColor theCol);
    OleColor GradientStartColor() const { return mGradientStart; }
    void SetGradientStartColor(OleColor theCol);
    std::int32_t GradientOrientation() const { return mGradientOrientation; }
    void SetGradientOrientation(std::int32_t newValue);
    OleColor GradientStopColor() const { return mGradientStop; }
    void SetGradientStopColor(OleColor theCol);
    OleColor BackColor() const { return mBackColor; }
    void SetBackColor(OleColor theCol);
    OleColor ForeColor() const { return mForeColor; }
    void SetForeColor(OleColor theCol);
    OleColor MouseOver() const { return mHoverForeColor; }
    void SetMouseOver(OleColor theCol);
    PictureRef Icon() const { return mIcon; }
    void SetIcon(PictureRef newIcon);
    std::int32_t ButtonType() const { return mButtonType; }
    void SetButtonType(std::int32_t newValue);
    const std::string& Caption() const { return mCaption; }  // UTF-8
    void SetCaption(const std::string& newCaption);
    std::int32_t IconSize() const { return mIconSize; }
    void SetIconSize(std::int32_t NewSize);
    std::int32_t CaptionStyle() const { return mCaptionStyle; }
    void SetCaptionStyle(std::int32_t newStyle);
    VBool Enabled() const { return mEnabled; }
    void SetEnabled(VBool newValue);
    FontRef Font() const { return TextFont; }
    void SetFont(FontRef newFont);
    std::int32_t ColorScheme() const { return mColorScheme; }
    void SetColorScheme(std::int32_t newValue);
    std::int32_t ButtonStyle() const { return mButtonStyle; }
    void SetButtonStyle(std::int32_t newStyle);
    std::int32_t CaptionOrientation() const { return mCaptionOrientation; }
    void SetCaptionOrientation(std::int32_t newOrientation);
    std::int32_t MousePointer() const;
    void SetMousePointer(std::int32_t newPointer);
    std::string Container() const;
    PictureRef MouseIcon() const;
    void SetMouseIcon(PictureRef newIcon);
    std::uint32_t hwnd() const;

    /// "Redraws button".
    void RefreshButton();

    // ---- Persistence ---------------------------------------------------------------------------
    void InitProperties();
    void ReadProperties(const PropertyBag& bag);
    void WriteProperties(PropertyBag& bag) const;

    // ---- Notifications from the host ------------------------------------------------------------
    void AmbientChanged(std::string_view propertyName);
    void TextFont_FontChanged(std::string_view propertyName);
    void Show();
    void Resize();
    /// The surface's pixels changed size on screen (the window moved to a screen of another
    /// scale, the desktop's scale changed): the caption font is rebuilt at its new pixel height,
    /// then the resize steps run.
    void ResolutionChanged();
    void Terminate();
    void MouseDownHandler(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void MouseMoveHandler(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void MouseUpHandler(std::int16_t Button, std::int16_t Shift, float X, float Y);
    void ClickHandler();
    void DblClickHandler();
    void KeyDownHandler(std::int16_t KeyCode, std::int16_t Shift);
    void KeyPressHandler(std::int16_t KeyAscii);
    void KeyUpHandler(std::int16_t KeyCode, std::int16_t Shift);
    void EnterFocus();
    void ExitFocus();
    void AccessKeyPress(std::int16_t KeyAscii);
    void TimerHover_Timer();

    // ---- Internal procedures -------------------------------------------------------------------
    /// Redraw pipeline.
    void DrawButton(bool backgroundPass);
    void DrawFramedBevelButton(bool backgroundPass);
    void DrawClassicButton(bool backgroundPass);
    void DrawShadedButton(bool backgroundPass);
    void DrawEtchedButton(bool backgroundPass);
    void DrawLightBevelButton(bool backgroundPass);
    void DrawFlatButton(bool backgroundPass);
    void DrawSoftFrameButton(bool backgroundPass);
    using Renderer = void (TarvexButton::*)(bool);
    static Renderer RendererFor(std::int32_t buttonType);
    /// Palette.
    void BuildPalette(bool reset);
    static OleColor TranslateColor(OleColor colour);
    static std::int16_t CheckGradientSupport(bool restrict);
    /// Primitives.
    static OleColor ShiftColor(OleColor colour, std::int32_t amount, bool proportionalBlue,
                               std::string& channelText);
    /// The shift alone, for painters that do not read the channel text.
    static OleColor ShiftColor(OleColor colour, std::int32_t amount, bool proportionalBlue);
    void SetPixelColor(std::int32_t x, std::int32_t y, OleColor colour);
    void DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                  OleColor colour);
    /// `dc` null means the control's own surface (the classic "hDC = 0, fetch it" argument).
    void DrawRect(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom,
                  OleColor colour, bool outline, gdi::DeviceContext* dc = nullptr);
    void DrawBorder(OleColor outerTopLeft, OleColor outerBottomRight, OleColor innerTopLeft,
                    OleColor innerBottomRight, std::int32_t inset, bool single);
    void DrawFocusCue();
    /// Caption.
    void FindAccessKey();
    void LayoutCaption();
    void CreateCaptionFont(const VBool& layoutRequested);
    void ReleaseCaptionFont();
    void DrawCaption(const OleColor& textColour, const OleColor& secondColour,
                     const OleColor& firstColour);
    /// Face, icon, shape, groups.
    void DrawGradient();
    void PrepareIcon();
    /// The icon cell's side in pixels of the drawing surface (IconSize x 8, bounded by the
    /// button's own surface for a stored size far out of range), and the image drawn in it.
    std::int32_t IconCell() const;
    const gdi::Surface& IconImage() const;
    void BuildRegion();
    void UpdateOptionGroup();
    void PauseSeconds(float seconds);

    /// The back buffer (the control's persistent image) and its device context (`hDC`).
    gdi::DeviceContext& hDC();
    const gdi::Surface& BackBuffer() const { return backBuffer_; }
    /// Re-sizes the back buffer to the host's ScaleWidth x ScaleHeight (content is kept where it
    /// overlaps); called by Resize and whenever the size is found changed.
    void SyncBackBufferSize();
    std::int32_t ScaleWidth() const { return host_.ScaleWidth(); }
    std::int32_t ScaleHeight() const { return host_.ScaleHeight(); }
    bool UserMode() const { return host_.UserMode(); }
    void NotifyChanged(std::string_view key);  // sends the key only in design mode
    std::int32_t ShowMessage(std::string_view text, std::int32_t style);  // application title
    /// Makes `font` the control's TextFont and listens to its changes (TextFont_FontChanged).
    void AttachTextFont(FontRef font);

    // ---- Members, in declaration order ----------------------------------------------------------
    std::int32_t mButtonType = 0;
    std::int32_t mColorScheme = 0;
    OleColor mBackColor = 0;
    OleColor mForeColor = 0;
    OleColor mHoverForeColor = 0;
    std::string mCaption;  // UTF-8
    std::optional<gdi::Region> mRegion;
    std::int32_t mButtonState = 0;
    std::uint8_t mLastMouseButton = 1;
    std::uint8_t mLastKeyCode = 0;
    VBool mEnabled = 0;
    VBool mHasFocus = 0;
    VBool mRedrawFlag = 0;
    PictureRef mIcon;
    OleColor mFaceColor = 0;
    OleColor mLightColor = 0;
    OleColor mHighlightColor = 0;
    OleColor mShadowColor = 0;
    OleColor mDarkShadowColor = 0;
    OleColor mTextColor = 0;
    OleColor mHoverTextColor = 0;
    OleColor mEmbossMidColor = 0;
    OleColor mEmbossShadowColor = 0;
    VBool mHovering = 0;
    VBool mIconPresent = 0;
    std::int32_t mIconSize = 0;
    std::int32_t mAlignment = 0;
    std::int32_t mIconAlignment = 0;
    std::int32_t mCaptionOrientation = 0;
    std::int32_t mCaptionStyle = 0;
    VBool mFontDirty = 0;
    std::optional<gdi::Font> mCaptionFont;  // alive only during a redraw
    std::optional<gdi::Font> mOldFont;      // what was selected before mCaptionFont
    std::vector<CaptionLine> mCaptionLines;
    CaptionRect mCaptionRect;
    std::int32_t mAccessKeyPos = 0;  // widened from 16 bits: captions of any length
    std::int32_t mAccessKeyX = 0;
    std::int32_t mAccessKeyY = 0;
    std::int32_t mAccessKeyWidth = 0;
    std::int32_t mIconX = 0;
    std::int32_t mIconY = 0;
    VBool mShowFocus = 0;
    OleColor mGradientStart = 0;
    OleColor mGradientStop = 0;
    std::int32_t mGradientOrientation = 0;
    VBool mOptionButton = 0;
    VBool mValue = 0;
    std::int32_t mButtonStyle = 0;
    std::int32_t mGraphicsModeSetting = 0;
    std::int32_t mGraphicsMode = 0;

    /// Contained objects.
    FontRef TextFont;
    FontObject::Subscription textFontSubscription_;
    gdi::Surface picIcon;  // the prepared (greyed) icon, S x S
    /// Click suppression after a right-button press lives here, not in mEnabled, so interaction
    /// never changes what `Enabled` reports.
    bool mSuppressClick = false;
    /// How many times `Icon` set has retried after a failure (it stops after one retry).
    int iconRetryDepth_ = 0;

  private:
    ControlHost& host_;
    gdi::Surface backBuffer_;
    std::unique_ptr<gdi::DeviceContext> dc_;
    std::shared_ptr<const void> lifeToken_ = std::make_shared<char>();
};

}  // namespace tarvex
