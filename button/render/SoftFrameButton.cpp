// Soft-frame look.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawSoftFrameButton(bool) {}

}  // namespace tarvex
