// Option-button groups: the sweep that clears the other buttons of a container.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::UpdateOptionGroup() {}

}  // namespace tarvex
