// Flat bevel and hover-edge looks (and every type without a look of its own).
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawFlatButton(bool) {}

}  // namespace tarvex
