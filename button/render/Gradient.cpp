// Gradient face fill: one two-vertex rectangle gradient across the whole surface.
#include <cstdint>

#include "button/TarvexButton.hpp"
#include "button/render/LookSupport.hpp"

namespace tarvex {

namespace {

// Channels of a colour, each clamped to 0..255 by a zero shift, widened to 16 bits.
gdi::TRIVERTEX VertexOf(OleColor colour, std::int32_t x, std::int32_t y) {
    const auto c = static_cast<gdi::COLORREF>(looks::Shift(colour, 0));
    gdi::TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<std::uint16_t>(gdi::GetRValue(c) << 8);
    v.Green = static_cast<std::uint16_t>(gdi::GetGValue(c) << 8);
    v.Blue = static_cast<std::uint16_t>(gdi::GetBValue(c) << 8);
    v.Alpha = 0;
    return v;
}

}  // namespace

// Orientations 2 and 3 mirror 0 and 1 by swapping which corner carries the start colour; the
// fill mode stays horizontal or vertical.
void TarvexButton::DrawGradient() {
    const std::int32_t w = ScaleWidth();
    const std::int32_t h = ScaleHeight();
    const std::int32_t reverse = mGradientOrientation > 1 ? 1 : 0;
    const std::int32_t mode = mGradientOrientation - 2 * reverse;
    constexpr auto kHorizontal = static_cast<std::int32_t>(gdi::GRADIENT_FILL_RECT_H);
    constexpr auto kVertical = static_cast<std::int32_t>(gdi::GRADIENT_FILL_RECT_V);
    // Only the two rectangle modes exist; any other orientation leaves the face as it was.
    if (mode != kHorizontal && mode != kVertical) return;

    gdi::TRIVERTEX vertices[2];
    vertices[reverse] = VertexOf(mGradientStart, reverse * w, reverse * h);
    vertices[1 - reverse] = VertexOf(mGradientStop, w - reverse * w, h - reverse * h);
    hDC().GradientFill(vertices[0], vertices[1], static_cast<std::uint32_t>(mode));
}

}  // namespace tarvex
