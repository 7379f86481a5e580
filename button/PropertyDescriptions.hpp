// What a designer's property browser shows for each public member of the control.
#pragma once

#include <span>
#include <string_view>

namespace tarvex {

/// One public member of TarvexButton (a property or the method RefreshButton) and the text that
/// a designer's property browser shows for it.
struct MemberDescription {
    std::string_view member;       ///< the member's name in the object model ("ButtonType")
    std::string_view description;  ///< the browser's text for it
};

/// Every member that has a description, in the order of the control's interface.
/// GradientOrientation and Container have none.
std::span<const MemberDescription> MemberDescriptions();

/// The description of `member` (matched exactly), or an empty text for a member without one.
std::string_view DescriptionOf(std::string_view member);

}  // namespace tarvex
