// The widget's Qt properties and the control's members behind them.
#pragma once

#include <span>
#include <string_view>

namespace tarvex::qt {

/// One public property of the control as the widget offers it to Qt.
struct PropertyName {
    const char* qtName;       ///< the Q_PROPERTY's name ("buttonType")
    std::string_view member;  ///< the control's property ("ButtonType")
    std::string_view key;     ///< the key of its stored setting ("BTYPE"); empty when not stored
};

/// The 28 public properties of the control, in the order of its interface.
std::span<const PropertyName> PropertyNames();

}  // namespace tarvex::qt
