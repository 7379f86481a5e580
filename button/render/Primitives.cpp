// Drawing primitives: pixels, lines, rectangles and segmented outlines, bevel border, focus cue.
#include "button/TarvexButton.hpp"

namespace tarvex {

void TarvexButton::SetPixelColor(std::int32_t, std::int32_t, OleColor) {}
void TarvexButton::DrawLine(std::int32_t, std::int32_t, std::int32_t, std::int32_t, OleColor) {}
void TarvexButton::DrawRect(std::int32_t, std::int32_t, std::int32_t, std::int32_t, OleColor, bool,
                            gdi::DeviceContext*) {}
void TarvexButton::DrawBorder(OleColor, OleColor, OleColor, OleColor, std::int32_t, bool) {}
void TarvexButton::DrawFocusCue() {}

}  // namespace tarvex
