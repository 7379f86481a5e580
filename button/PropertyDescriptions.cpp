#include "button/PropertyDescriptions.hpp"

#include <algorithm>
#include <array>

namespace tarvex {

namespace {

// The texts are the control's own, typing slips included: saved forms and the help of existing
// programs quote them.
constexpr std::array<MemberDescription, 27> kDescriptions{{
    {"Alignment", "Alignment of caption within the button. Read-only at runtime"},
    {"ShowFocus",
     "When button has focus, display an inner rectangle or highlight button. Style dependent "
     "upon button type."},
    {"GraphicsMode", "Used to force vertical text to display."},
    {"Value",
     "Applicable only when OptionButton is set to true. Either True for selected or False for "
     "unselected."},
    {"OptionButton",
     "IF set to True then button acts as an option button, otherwise acts as a command button."},
    {"IconAlignmentValue", "Icon left or right edge of caption. Read-only at runtime"},
    {"EmbossEngraveShadow",
     "The shadow color used when embossing, engraving or shadowing button caption."},
    {"EmbossEngraveMid",
     "Middle color between fore color and EmbossEngrave Shadow color. Not used with Shadow "
     "caption style."},
    {"GradientStartColor", "N/A for Win95 & below. Color to begin gradient fill."},
    {"GradientStopColor", "N/A for Win95 & below. Color to end gradient fill."},
    {"BackColor", "Not applicable unless Custom ColorScheme is applied."},
    {"ForeColor", "Color of button caption font."},
    {"MouseOver",
     "Font color when mouse hovers over a button. CustomColor Scheme must be applied. "},
    {"Icon", "Button icon."},
    {"ButtonType", "One of several button types. Read-only at runtime"},
    {"Caption", "Button Caption"},
    {"IconSize",
     "Icon size to display on button. Image list name and icon index must be provided."},
    {"CaptionStyle",
     "Engraved, Embossed, Shadowed or Plain. Applicable when ColorScheme is Custom Colors."},
    {"Enabled",
     "Returns/set value to determine whether button can interact with user-generated events."},
    {"Font", "Button caption font"},
    {"ColorScheme",
     "Most colors are ignored unless Custom ColorScheme is applied. Read-only at runtime"},
    {"ButtonStyle", "Default rectangular or segmeneted"},
    {"CaptionOrientation",
     "Changes text between horizontal and veritcal display. Read-only at runtime"},
    {"MousePointer", "Sets a custom mouse pointer."},
    {"MouseIcon", "Sets a custom mouse icon."},
    {"hwnd", "Button Window handle"},
    {"RefreshButton", "Redraws button"},
}};

}  // namespace

std::span<const MemberDescription> MemberDescriptions() {
    return kDescriptions;
}

std::string_view DescriptionOf(std::string_view member) {
    const auto it = std::find_if(kDescriptions.begin(), kDescriptions.end(),
                                 [&](const MemberDescription& d) { return d.member == member; });
    return it == kDescriptions.end() ? std::string_view() : it->description;
}

}  // namespace tarvex
