// Icon preparation: the greyed copy a disabled button shows.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::PrepareIcon() {}

}  // namespace tarvex
