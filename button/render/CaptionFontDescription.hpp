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
std::int32_t CaptionFontHeight(std::int64_t sizeTenThousandths, std::int32_t twipsPerPixelY);
// The full description; a missing font object stands for the default caption font.
gdi::LOGFONT CaptionFontDescription(const FontObject* font, std::int32_t twipsPerPixelY,
                                    std::int32_t escapement);

}  // namespace tarvex
