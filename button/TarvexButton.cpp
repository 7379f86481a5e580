// The control object: creation, property procedures, the container's notifications.
#include "button/TarvexButton.hpp"

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <limits>

namespace tarvex {

namespace {

constexpr std::int32_t kHoverIntervalMs = 100;

constexpr std::string_view kGraphicsModeCaution =
    "Caution: Using non-default may cause buttons to not display properly on other operating "
    "systems.";
constexpr std::string_view kGradientLookRefusal =
    "This option is not available for Windowx XP or Machintosh style buttons";
constexpr std::string_view kOldSystemRefusal =
    "This option is not available on the following operating systems.\r\n\r\n"
    " - Win NT 4 and lower\r\n"
    " - Windows 95 and earlier";

bool InRange(std::int32_t v, std::int32_t lo, std::int32_t hi) {
    return v >= lo && v <= hi;
}

bool IsCustomScheme(std::int32_t scheme) {
    return scheme == 2 || scheme == 5;
}

// The looks that never show a gradient face.
bool IsGradientlessLook(std::int32_t buttonType) {
    return buttonType == 3 || buttonType == 8;
}

bool HoldsPicture(const PictureRef& p) {
    return p != nullptr;
}

// Leading number of a text, as a numeric conversion of "3)" reads 3: optional blanks, sign,
// digits, fraction; anything after it is ignored; no digits give 0.
double LeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    }
    const std::string number(text.substr(start, i - start));
    if (number.empty()) return 0;
    char* end = nullptr;
    const double v = std::strtod(number.c_str(), &end);
    return std::isfinite(v) ? v : 0;
}

}  // namespace

// ---- Creation and termination ------------------------------------------------------------------

TarvexButton::TarvexButton(ControlHost& host) : host_(host) {
    mLastMouseButton = 1;
    mRedrawFlag = 0;
    // Contained objects exist from the start; the property set fills them in afterwards.
    host_.SetHoverTimerInterval(kHoverIntervalMs);
    host_.SetHoverTimerEnabled(false);
    AttachTextFont(FontObject::Create());
}

TarvexButton::~TarvexButton() {
    lifeToken_.reset();  // gone from here on, for every handler still on the stack
    // A destructor must not throw: whatever the terminate step cannot release is released with
    // the members right after.
    try {
        Terminate();
    } catch (...) {
    }
}

void TarvexButton::AttachTextFont(FontRef font) {
    if (!font) throw HostError("Font: no font object given");
    textFontSubscription_ = FontObject::Subscribe(
        font, [this](std::string_view property) { TextFont_FontChanged(property); });
    TextFont = std::move(font);
}

// ---- Host helpers ------------------------------------------------------------------------------

void TarvexButton::NotifyChanged(std::string_view key) {
    if (!host_.UserMode()) host_.PropertyChanged(key);
}

std::int32_t TarvexButton::ShowMessage(std::string_view text, std::int32_t style) {
    return host_.MsgBox(text, style, host_.AppTitle());
}

// ---- Layout properties (design only) -----------------------------------------------------------

void TarvexButton::SetAlignment(std::int32_t newAlign) {
    if (!InRange(newAlign, 0, 2) || newAlign == mAlignment || UserMode()) return;
    mAlignment = newAlign;
    NotifyChanged("ALIGN");
    LayoutCaption();
    RefreshButton();
}

void TarvexButton::SetIconAlignmentValue(std::int32_t newAlignment) {
    if (!InRange(newAlignment, 0, 1) || newAlignment == mIconAlignment || UserMode()) return;
    mIconAlignment = newAlignment;
    NotifyChanged("ICONAlign");
    if (mIconPresent) {
        LayoutCaption();
        RefreshButton();
    }
}

void TarvexButton::SetIconSize(std::int32_t NewSize) {
    if (!InRange(NewSize, 1, 4) || NewSize == mIconSize || UserMode()) return;
    NotifyChanged("IconSize");
    mIconSize = NewSize;
    if (mIconPresent) {
        LayoutCaption();
        PrepareIcon();
        RefreshButton();
    }
}

void TarvexButton::SetCaptionOrientation(std::int32_t newOrientation) {
    if (!InRange(newOrientation, 0, 2) || newOrientation == mCaptionOrientation || UserMode())
        return;
    mCaptionOrientation = newOrientation;
    NotifyChanged("ORIENT");
    mFontDirty = kTrue;
    RefreshButton();
}

// Segmented shapes only carry horizontal captions.
void TarvexButton::SetButtonStyle(std::int32_t newStyle) {
    if (!InRange(newStyle, 0, 3) || newStyle == mButtonStyle || UserMode()) return;
    if (newStyle != 0) {
        mCaptionOrientation = 0;
        NotifyChanged("ORIENT");
    }
    mButtonStyle = newStyle;
    NotifyChanged("BSTYLE");
    Resize();
}

void TarvexButton::SetButtonType(std::int32_t newValue) {
    if (!InRange(newValue, 1, 8) || newValue == mButtonType || UserMode()) return;
    if (IsGradientlessLook(newValue) && mColorScheme == 5) mColorScheme = 2;
    mButtonType = newValue;
    NotifyChanged("BTYPE");
    Resize();
}

void TarvexButton::SetShowFocus(VBool bFocusOn) {
    if (UserMode()) return;
    NotifyChanged("SHOWF");
    mShowFocus = ToVBool(bFocusOn != 0);
}

// ---- Colour scheme and the custom-colour properties
// ----------------------------------------------

void TarvexButton::SetColorScheme(std::int32_t newValue) {
    if (!InRange(newValue, 1, 5) || newValue == mColorScheme) return;
    if (CheckGradientSupport(true) < 0) {
        if (!UserMode()) ShowMessage(kOldSystemRefusal, vbInformation | vbOKOnly);
        return;
    }
    if (UserMode()) return;
    mColorScheme = newValue;
    for (std::string_view key : {"COLTYPE", "BCOL", "FCOL", "FCOLO", "EMBOSSM", "EMBOSSS"})
        NotifyChanged(key);
    if (!IsCustomScheme(newValue)) mCaptionStyle = 0;
    BuildPalette(true);
    RefreshButton();
}

namespace {

// The custom-colour rule's scheme step: a property that only the custom schemes honour either
// finds its scheme already accepting, switches the scheme (design mode, with the switch
// notifications in order) or is refused (run mode). Returns whether the value may be stored.
bool AcceptUnderCustomScheme(TarvexButton& b, bool gradientOnly, std::int32_t switchTarget,
                             std::initializer_list<std::string_view> switchNotifications) {
    const bool accepted = gradientOnly ? b.mColorScheme == 5 : IsCustomScheme(b.mColorScheme);
    if (accepted) return true;
    if (b.UserMode()) return false;
    b.mColorScheme = switchTarget;
    for (std::string_view key : switchNotifications) b.NotifyChanged(key);
    return true;
}

}  // namespace

void TarvexButton::SetBackColor(OleColor theCol) {
    if (theCol == mBackColor) return;
    if (!AcceptUnderCustomScheme(*this, false, 2, {"COLTYPE", "FCOL", "FCOLO"})) return;
    mBackColor = TranslateColor(theCol);
    NotifyChanged("BCOL");
    BuildPalette(false);
    PrepareIcon();
    RefreshButton();
}

void TarvexButton::SetForeColor(OleColor theCol) {
    if (theCol == mForeColor) return;
    if (!AcceptUnderCustomScheme(*this, false, 2, {"COLTYPE", "BCOL", "FCOLO"})) return;
    mForeColor = TranslateColor(theCol);
    NotifyChanged("FCOL");
    BuildPalette(false);
    RefreshButton();
}

void TarvexButton::SetMouseOver(OleColor theCol) {
    if (theCol == mHoverForeColor) return;
    if (!AcceptUnderCustomScheme(*this, false, 2, {"COLTYPE", "BCOL", "FCOL"})) return;
    mHoverForeColor = TranslateColor(theCol);
    BuildPalette(false);
    NotifyChanged("FCOLO");
    RefreshButton();
}

void TarvexButton::SetEmbossEngraveShadow(OleColor theCol) {
    if (theCol == mEmbossShadowColor) return;
    if (!AcceptUnderCustomScheme(*this, false, 2, {"COLTYPE", "FCOL", "FCOLO", "BCOL", "EMBOSSM"}))
        return;
    mEmbossShadowColor = TranslateColor(theCol);
    NotifyChanged("EMBOSSS");
    BuildPalette(false);
    RefreshButton();
}

void TarvexButton::SetEmbossEngraveMid(OleColor theCol) {
    if (theCol == mEmbossMidColor) return;
    if (!AcceptUnderCustomScheme(*this, false, 2, {"COLTYPE", "FCOL", "FCOLO", "BCOL", "EMBOSSS"}))
        return;
    mEmbossMidColor = TranslateColor(theCol);
    NotifyChanged("EMBOSSM");
    BuildPalette(false);
    RefreshButton();
}

void TarvexButton::SetGradientStartColor(OleColor theCol) {
    if (theCol == mGradientStart) return;
    if (IsGradientlessLook(mButtonType)) {
        if (!UserMode()) ShowMessage(kGradientLookRefusal, vbInformation | vbOKOnly);
        return;
    }
    if (!AcceptUnderCustomScheme(*this, true, 5, {"COLTYPE", "FCOL", "FCOLO", "BCOL", "GStop"}))
        return;
    mGradientStart = TranslateColor(theCol);
    NotifyChanged("GStart");
    BuildPalette(false);
    PrepareIcon();
    RefreshButton();
}

void TarvexButton::SetGradientStopColor(OleColor theCol) {
    if (theCol == mGradientStop) return;
    if (IsGradientlessLook(mButtonType)) {
        if (!UserMode()) ShowMessage(kGradientLookRefusal, vbInformation | vbOKOnly);
        return;
    }
    if (!AcceptUnderCustomScheme(*this, true, 5, {"COLTYPE", "FCOL", "FCOLO", "BCOL", "GStart"}))
        return;
    mGradientStop = TranslateColor(theCol);
    NotifyChanged("GStop");
    BuildPalette(false);
    PrepareIcon();
    RefreshButton();
}

void TarvexButton::SetCaptionStyle(std::int32_t newStyle) {
    if (newStyle == mCaptionStyle || !InRange(newStyle, 0, 3)) return;
    if (!AcceptUnderCustomScheme(*this, false, 2,
                                 {"COLTYPE", "BCOL", "FCOL", "FCOLO", "EMBOSSM", "EMBOSSS"}))
        return;
    mCaptionStyle = newStyle;
    BuildPalette(false);
    NotifyChanged("STYLE");
    RefreshButton();
}

void TarvexButton::SetGradientOrientation(std::int32_t newValue) {
    mGradientOrientation = newValue;
    if (mColorScheme == 5 && !UserMode()) {
        NotifyChanged("GStyle");
        RefreshButton();
    }
}

void TarvexButton::SetGraphicsMode(std::int32_t newMode) {
    if (newMode >= 0) ShowMessage(kGraphicsModeCaution, vbExclamation | vbOKOnly);
    NotifyChanged("GMODE");
    mGraphicsModeSetting = newMode;
    mGraphicsMode = newMode >= 0 ? newMode : CheckGradientSupport(false);
    RefreshButton();
}

// ---- Properties that change in both modes ------------------------------------------------------

void TarvexButton::SetCaption(const std::string& newCaption) {
    mCaption = newCaption;
    FindAccessKey();
    NotifyChanged("TX");
    mFontDirty = kTrue;
    RefreshButton();
}

void TarvexButton::SetEnabled(VBool newValue) {
    mEnabled = ToVBool(newValue != 0);
    host_.SetEnabled(mEnabled != 0);
    NotifyChanged("ENAB");
    RefreshButton();
}

void TarvexButton::SetFont(FontRef newFont) {
    AttachTextFont(std::move(newFont));
    host_.SetFont(TextFont);
    NotifyChanged("FONT");
    mFontDirty = kTrue;
    RefreshButton();
}

// A failure anywhere in the change drops the icon and lays out and paints the button without
// it. That second attempt is the last one: if it fails too, the failure goes to the caller.
void TarvexButton::SetIcon(PictureRef newIcon) {
    try {
        mIcon = std::move(newIcon);
        mIconPresent = ToVBool(HoldsPicture(mIcon));
        NotifyChanged("BTNICON");
        LayoutCaption();
        PrepareIcon();
        RefreshButton();
        return;
    } catch (...) {
        if (iconRetryDepth_ > 0) throw;  // already the retry of an outer change
        mIconPresent = kFalse;
        mIcon.reset();
    }
    ++iconRetryDepth_;
    struct RetryScope {
        int& depth;
        ~RetryScope() { --depth; }
    } scope{iconRetryDepth_};
    LayoutCaption();
    PrepareIcon();
    RefreshButton();
}

void TarvexButton::SetValue(VBool newValue) {
    mValue = ToVBool(newValue != 0);
    if (!mOptionButton) return;
    if (mValue == kTrue) {
        UpdateOptionGroup();
    } else {
        mButtonState = kStateNormal;
        RefreshButton();
    }
}

void TarvexButton::SetOptionButton(VBool newValue) {
    mOptionButton = ToVBool(newValue != 0);
    if (mOptionButton) {
        SetValue(mValue);
    } else {
        mButtonState = kStateNormal;
        RefreshButton();
    }
}

std::int32_t TarvexButton::MousePointer() const {
    return host_.MousePointer();
}

void TarvexButton::SetMousePointer(std::int32_t newPointer) {
    if (newPointer < std::numeric_limits<std::int16_t>::min() ||
        newPointer > std::numeric_limits<std::int16_t>::max())
        throw HostError("MousePointer: " + std::to_string(newPointer) +
                        " is not a mouse-pointer code");
    host_.SetMousePointer(static_cast<std::int16_t>(newPointer));
    NotifyChanged("MPTR");
}

PictureRef TarvexButton::MouseIcon() const {
    return host_.MouseIcon();
}

void TarvexButton::SetMouseIcon(PictureRef newIcon) {
    try {
        host_.SetMouseIcon(std::move(newIcon));
    } catch (const std::exception&) {
        // The pointer keeps its previous picture; the set still counts as changed.
    }
    NotifyChanged("MICON");
}

std::uint32_t TarvexButton::hwnd() const {
    return static_cast<std::uint32_t>(host_.hWnd());
}

// ---- Container ---------------------------------------------------------------------------------

// The name that groups option buttons: the container's name, with its index when the container
// is an element of a control array.
std::string TarvexButton::Container() const {
    const std::string displayName = host_.DisplayName();
    const std::size_t bracket = displayName.find('(');
    FormControl self;
    if (bracket != std::string::npos) {
        const double index =
            std::nearbyint(LeadingNumber(std::string_view(displayName).substr(bracket + 1)));
        if (index < std::numeric_limits<std::int32_t>::min() ||
            index > std::numeric_limits<std::int32_t>::max())
            throw HostError("Container: the index of \"" + displayName + "\" is out of range");
        self = host_.FindControl(displayName.substr(0, bracket), static_cast<std::int32_t>(index));
    } else {
        self = host_.FindControl(displayName, std::nullopt);
    }
    const std::string formName = host_.FormName();
    if (self.containerName == formName) return formName;
    std::string result = self.containerName;
    if (self.containerIndex) result += "(" + std::to_string(*self.containerIndex) + ")";
    return result;
}

// ---- Notifications from the container and the font ---------------------------------------------

void TarvexButton::AmbientChanged(std::string_view propertyName) {
    constexpr std::string_view kWatched = "BackColorForeColorFontPalette";
    if (kWatched.find(propertyName) == std::string_view::npos) return;
    if (propertyName == "Font") {
        // The form's own object, so later changes of the form's font reach the caption.
        FontRef formFont = host_.FormFont();
        AttachTextFont(formFont);
        host_.SetFont(formFont);
        return;
    }
    if (propertyName == "ForeColor" || mColorScheme == 4) {
        BuildPalette(false);
        RefreshButton();
    }
}

void TarvexButton::TextFont_FontChanged(std::string_view /*propertyName*/) {
    host_.SetFont(TextFont);
    NotifyChanged("FONT");
    mFontDirty = kTrue;
    RefreshButton();
}

}  // namespace tarvex
