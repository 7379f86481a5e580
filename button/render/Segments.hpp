// The slant of the segmented shapes: one or both side edges lean by 18 pixels over the full height,
// alike in the primitives, the renderers and the window shape.
#pragma once

#include <cstdint>

namespace tarvex {

struct SegmentInsets {
    std::int32_t topRight = 0;    // the top edge ends this far left of the right edge
    std::int32_t bottomLeft = 0;  // the bottom edge starts this far right of the left edge
};

constexpr std::int32_t kSegmentSlant = 18;

// Rectangular (0) and any unknown style have no insets.
constexpr SegmentInsets InsetsForStyle(std::int32_t buttonStyle) {
    switch (buttonStyle) {
        case 1:
            return {kSegmentSlant, 0};
        case 2:
            return {kSegmentSlant, kSegmentSlant};
        case 3:
            return {0, kSegmentSlant};
        default:
            return {};
    }
}

constexpr bool IsSegmented(std::int32_t buttonStyle) {
    return buttonStyle >= 1 && buttonStyle <= 3;
}

}  // namespace tarvex
