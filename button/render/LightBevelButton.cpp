// Light bevel look.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawLightBevelButton(bool) {}

}  // namespace tarvex
