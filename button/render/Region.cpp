// Window shapes: cut corners and segmented outlines.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::BuildRegion() {}

}  // namespace tarvex
