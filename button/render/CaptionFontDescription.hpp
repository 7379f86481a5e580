// How the caption font is described to the drawing layer (shared by the font builder, the layout
// and the tests).
#pragma once

#include <cstdint>
#include <string>

#include "button/Types.hpp"
#include "gdi/gdi.hpp"

namespace tarvex {

// Font name plus " Bold" / " Italic", cut so that the record keeps its terminating zero.
std::string CaptionFaceName(const FontObject& font);
// -(size in points x 20 / twips per pixel), rounded to the nearest pixel; no locale involved.
// Twips per pixel may be a fraction (7.5 at 192 dpi); 0 or less stands for 96 dpi.
std::int32_t CaptionFontHeight(std::int64_t sizeTenThousandths, double twipsPerPixelY);
// The full description; a missing font object stands for the default caption font.
gdi::LOGFONT CaptionFontDescription(const FontObject* font, double twipsPerPixelY,
                                    std::int32_t escapement);

}  // namespace tarvex
