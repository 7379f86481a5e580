// Palette and colour schemes.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::BuildPalette(bool) {}
OleColor TarvexButton::TranslateColor(OleColor colour) {
    return colour;
}
std::int16_t TarvexButton::CheckGradientSupport(bool) {
    return 0;
}

}  // namespace tarvex
