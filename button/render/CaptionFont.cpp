// Caption font: upright for layout, rotated for drawing, one alive at a time.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::CreateCaptionFont(const VBool&) {}
void TarvexButton::ReleaseCaptionFont() {}

}  // namespace tarvex
