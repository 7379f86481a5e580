// Device-context state: selections, colours, modes, the current position and single pixels.
#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

DeviceContext::DeviceContext(Surface& surface) : surface_(&surface) {}

Pen DeviceContext::SelectObject(const Pen& pen) {
    Pen previous = pen_;
    pen_ = pen;
    return previous;
}

Brush DeviceContext::SelectObject(const Brush& brush) {
    Brush previous = brush_;
    brush_ = brush;
    return previous;
}

Font DeviceContext::SelectObject(const Font& font) {
    Font previous = font_;
    font_ = font;
    return previous;
}

COLORREF DeviceContext::SetTextColor(COLORREF c) {
    const COLORREF previous = textColor_;
    textColor_ = c;
    return previous;
}

COLORREF DeviceContext::SetBkColor(COLORREF c) {
    const COLORREF previous = bkColor_;
    bkColor_ = c;
    return previous;
}

int DeviceContext::SetBkMode(int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    const int previous = bkMode_;
    bkMode_ = mode;
    return previous;
}

int DeviceContext::SetGraphicsMode(int mode) {
    if (mode != GM_COMPATIBLE && mode != GM_ADVANCED) return 0;
    const int previous = graphicsMode_;
    graphicsMode_ = mode;
    return previous;
}

POINT DeviceContext::MoveToEx(std::int32_t x, std::int32_t y) {
    const POINT previous = position_;
    position_ = {x, y};
    return previous;
}

COLORREF DeviceContext::SetPixel(std::int32_t x, std::int32_t y, COLORREF c) {
    if (!surface_->contains(x, y)) return CLR_INVALID;
    surface_->set(x, y, ToPixel(c));
    return c & 0x00FFFFFFu;
}

bool DeviceContext::SetPixelV(std::int32_t x, std::int32_t y, COLORREF c) {
    return SetPixel(x, y, c) != CLR_INVALID;
}

COLORREF DeviceContext::GetPixel(std::int32_t x, std::int32_t y) const {
    if (!surface_->contains(x, y)) return CLR_INVALID;
    return FromPixel(surface_->at(x, y));
}

}  // namespace gdi
