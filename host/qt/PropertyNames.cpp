// The widget's Qt properties against the control's members and stored keys (for Designer's
// property sheet and tool tips). A source of its own: the Designer plugin compiles it in.
#include "host/qt/PropertyNames.hpp"

#include <array>

namespace tarvex::qt {

namespace {

constexpr std::array<PropertyName, 28> kPropertyNames{{
    {"alignment", "Alignment", "ALIGN"},
    {"showFocus", "ShowFocus", "SHOWF"},
    {"graphicsMode", "GraphicsMode", "GMODE"},
    {"value", "Value", "OPTVAL"},
    {"optionButton", "OptionButton", "OPTMOD"},
    {"iconAlignment", "IconAlignmentValue", "ICONAlign"},
    {"embossEngraveShadow", "EmbossEngraveShadow", "EMBOSSS"},
    {"embossEngraveMid", "EmbossEngraveMid", "EMBOSSM"},
    {"gradientStartColor", "GradientStartColor", "GStart"},
    {"gradientOrientation", "GradientOrientation", "GStyle"},
    {"gradientStopColor", "GradientStopColor", "GStop"},
    {"backColor", "BackColor", "BCOL"},
    {"foreColor", "ForeColor", "FCOL"},
    {"mouseOver", "MouseOver", "FCOLO"},
    {"icon", "Icon", "BTNICON"},
    {"buttonType", "ButtonType", "BTYPE"},
    {"caption", "Caption", "TX"},
    {"iconSize", "IconSize", "IconSize"},
    {"captionStyle", "CaptionStyle", "STYLE"},
    {"enabled", "Enabled", "ENAB"},
    {"font", "Font", "FONT"},
    {"colorScheme", "ColorScheme", "COLTYPE"},
    {"buttonStyle", "ButtonStyle", "BSTYLE"},
    {"captionOrientation", "CaptionOrientation", "ORIENT"},
    {"mousePointer", "MousePointer", "MPTR"},
    {"container", "Container", ""},
    {"mouseIcon", "MouseIcon", "MICON"},
    {"hwnd", "hwnd", ""},
}};

}  // namespace

std::span<const PropertyName> PropertyNames() {
    return kPropertyNames;
}

}  // namespace tarvex::qt
