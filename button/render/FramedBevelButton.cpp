// Framed double-bevel look.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawFramedBevelButton(bool) {}

}  // namespace tarvex
