// Shaded look.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawShadedButton(bool) {}

}  // namespace tarvex
