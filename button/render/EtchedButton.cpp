// Etched flat look.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawEtchedButton(bool) {}

}  // namespace tarvex
