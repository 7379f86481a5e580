// Process-wide rendering options of the button control.
#pragma once

#include <cstdint>

namespace tarvex {

// Output quality of every caption font built from now on (gdi::DEFAULT_QUALITY unless changed).
// DEFAULT_QUALITY follows the desktop's antialias setting; NONANTIALIASED_QUALITY draws 1-bit
// glyphs, as classic GDI does, which is what pixel-exact tests and reference images need.
void SetCaptionFontQuality(std::uint8_t quality);
std::uint8_t CaptionFontQuality();

}  // namespace tarvex
