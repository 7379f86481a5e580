// Colour shifting with channel text.
#include "button/TarvexButton.hpp"

namespace tarvex {

OleColor TarvexButton::ShiftColor(OleColor colour, std::int32_t, bool, std::string&) {
    return colour;
}

}  // namespace tarvex
