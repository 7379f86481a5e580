// Gradient face fill.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawGradient() {}

}  // namespace tarvex
