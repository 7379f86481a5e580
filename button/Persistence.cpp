// The control's saved settings: new-instance defaults, reading and writing the property set.
#include "button/PropertyBag.hpp"
#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

OleColor SystemColour(int index) {
    return static_cast<OleColor>(gdi::GetSysColor(index));
}

}  // namespace

void TarvexButton::InitProperties() {
    mEnabled = kTrue;
    mCaption = host_.DisplayName();
    if (mCaption.empty()) mCaption = host_.Name();

    // The caption starts in the container's font with another face; the container keeps its own.
    FontRef ambient = host_.AmbientFont();
    FontRef own = ambient ? ambient->Clone() : FontObject::Create();
    own->SetName("Times New Roman");
    host_.SetFont(own);
    AttachTextFont(host_.Font());

    mButtonType = 2;
    mButtonStyle = 0;
    mColorScheme = 1;
    mBackColor = SystemColour(gdi::COLOR_BTNFACE);
    mForeColor = SystemColour(gdi::COLOR_BTNTEXT);
    mGradientStart = 0;
    mGradientStop = 0x00FF0000;
    mGradientOrientation = 0;
    mAlignment = 1;
    mCaptionOrientation = 0;
    mIconSize = 2;
    mIconAlignment = 0;
    mGraphicsModeSetting = -1;
    mGraphicsMode = CheckGradientSupport(false);
    mShowFocus = kTrue;
    BuildPalette(false);
}

// Values are taken as stored: no range checks, no notifications, no painting. A value that
// cannot be converted stops the read where it stands; what was read before stays.
void TarvexButton::ReadProperties(const PropertyBag& bag) {
    mButtonType = bag.ReadInt32("BTYPE", 2);
    mButtonStyle = bag.ReadInt32("BSTYLE", 0);
    mValue = bag.ReadBoolean("OPTVAL", kFalse);
    mOptionButton = bag.ReadBoolean("OPTMOD", kFalse);

    mCaption = bag.ReadString("TX", host_.Name());
    mEnabled = bag.ReadBoolean("ENAB", kTrue);
    AttachTextFont(bag.ReadFont("FONT", host_.Font()));
    mColorScheme = bag.ReadInt32("COLTYPE", 1);

    mBackColor = bag.ReadInt32("BCOL", SystemColour(gdi::COLOR_BTNFACE));
    mForeColor = bag.ReadInt32("FCOL", SystemColour(gdi::COLOR_BTNTEXT));
    mHoverForeColor = bag.ReadInt32("FCOLO", SystemColour(gdi::COLOR_BTNTEXT));

    mGradientStart = bag.ReadInt32("GStart", 0);
    mGradientStop = bag.ReadInt32("GStop", 0x00FF0000);
    mGradientOrientation = bag.ReadInt32("GStyle", 0);

    mEmbossMidColor = bag.ReadInt32("EMBOSSM", mBackColor);
    mEmbossShadowColor = bag.ReadInt32("EMBOSSS", SystemColour(gdi::COLOR_BTNHIGHLIGHT));

    host_.SetMousePointer(bag.ReadInt16("MPTR", 0));
    host_.SetMouseIcon(bag.ReadPicture("MICON", nullptr));

    mAlignment = bag.ReadInt32("ALIGN", 1);
    mIconAlignment = bag.ReadInt32("ICONAlign", 0);
    mCaptionStyle = bag.ReadInt32("STYLE", 0);
    mCaptionOrientation = bag.ReadInt32("ORIENT", 0);
    mIconSize = bag.ReadInt32("IconSize", 2);

    mIcon = bag.ReadPicture("BTNICON", nullptr);

    const std::int16_t systemMode = CheckGradientSupport(false);
    mGraphicsModeSetting = bag.ReadInt32("GMODE", systemMode);
    mGraphicsMode = mGraphicsModeSetting >= 0 ? mGraphicsModeSetting : CheckGradientSupport(false);

    mShowFocus = bag.ReadBoolean("SHOWF", kTrue);

    // A gradient face saved elsewhere loads as the plain custom scheme where gradients are barred.
    if (CheckGradientSupport(true) < 0 && mColorScheme == 5) mColorScheme = 2;
    host_.SetEnabled(mEnabled != 0);
    host_.SetFont(TextFont);
    FindAccessKey();
    mIconPresent = ToVBool(mIcon != nullptr);
    BuildPalette(false);
}

// Every key every time, in a fixed order; only a missing icon is left out by the set itself.
void TarvexButton::WriteProperties(PropertyBag& bag) const {
    bag.WritePicture("BTNICON", mIcon);
    bag.WriteInt32("BTYPE", mButtonType);
    bag.WriteString("TX", mCaption);
    bag.WriteBoolean("ENAB", mEnabled);
    bag.WriteFont("FONT", TextFont);
    bag.WriteInt32("COLTYPE", mColorScheme);
    bag.WriteInt32("BCOL", mBackColor);
    bag.WriteInt32("FCOL", mForeColor);
    bag.WriteInt32("FCOLO", mHoverForeColor);
    bag.WriteInt32("EMBOSSM", mEmbossMidColor);
    bag.WriteInt32("EMBOSSS", mEmbossShadowColor);
    bag.WriteInt16("MPTR", host_.MousePointer());
    bag.WritePicture("MICON", host_.MouseIcon());
    bag.WriteInt32("ALIGN", mAlignment);
    bag.WriteInt32("ICONAlign", mIconAlignment);
    bag.WriteInt32("ORIENT", mCaptionOrientation);
    bag.WriteInt32("STYLE", mCaptionStyle);
    bag.WriteInt32("IconSize", mIconSize);
    bag.WriteBoolean("SHOWF", mShowFocus);
    bag.WriteInt32("BSTYLE", mButtonStyle);
    bag.WriteBoolean("OPTVAL", mValue);
    bag.WriteBoolean("OPTMOD", mOptionButton);
    bag.WriteInt32("GStart", mGradientStart);
    bag.WriteInt32("GStop", mGradientStop);
    bag.WriteInt32("GStyle", mGradientOrientation);
    bag.WriteInt32("GMODE", mGraphicsModeSetting);
}

}  // namespace tarvex
