// Classic 3-D look.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawClassicButton(bool) {}

}  // namespace tarvex
