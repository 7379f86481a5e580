// Window shapes: cut corners and segmented outlines. The shape is handed to the window by Resize;
// the window then owns it, so a new shape simply replaces mRegion.
#include <array>
#include <span>

#include "button/TarvexButton.hpp"
#include "button/render/Segments.hpp"

namespace tarvex {

namespace {

using Cut = gdi::RECT;

// The corner pixels each look removes, in the order they are cut.
std::vector<Cut> CornerCuts(std::int32_t buttonType, std::int32_t W, std::int32_t H) {
    switch (buttonType) {
        case 1:
            return {{0, 0, 1, 1}, {0, H - 1, 1, H}, {W - 1, 0, W, 1}, {W - 1, H - 1, W, H}};
        case 3:
        case 8:
            return {{0, 0, 2, 1}, {0, H - 1, 2, H},     {W - 2, 0, W, 1}, {W - 2, H - 1, W, H},
                    {0, 1, 1, 2}, {0, H - 2, 1, H - 1}, {W - 1, 1, W, 2}, {W - 1, H - 2, W, H - 1}};
        case 4:
            return {{0, H - 1, 1, H}, {W - 1, 0, W, 1}};
        default:
            return {};
    }
}

gdi::Region SegmentedShape(std::int32_t buttonStyle, std::int32_t W, std::int32_t H) {
    const SegmentInsets in = InsetsForStyle(buttonStyle);
    const std::array<gdi::POINT, 4> outline{
        {{0, 0}, {in.bottomLeft, H}, {W, H}, {W - in.topRight, 0}}};
    return gdi::CreatePolygonRgn(outline, gdi::WINDING);
}

gdi::Region RectangleWithCutCorners(std::int32_t buttonType, std::int32_t W, std::int32_t H) {
    gdi::Region shape = gdi::CreateRectRgn(0, 0, W, H);
    for (const Cut& cut : CornerCuts(buttonType, W, H)) {
        const gdi::Region corner = gdi::CreateRectRgn(cut.left, cut.top, cut.right, cut.bottom);
        gdi::Region rest;
        gdi::CombineRgn(rest, shape, corner, gdi::RGN_DIFF);
        shape = rest;
    }
    return shape;
}

}  // namespace

void TarvexButton::BuildRegion() {
    const std::int32_t W = std::max(ScaleWidth(), 0);
    const std::int32_t H = std::max(ScaleHeight(), 0);
    if (IsSegmented(mButtonStyle)) {
        mRegion = SegmentedShape(mButtonStyle, W, H);
    } else {
        mRegion = RectangleWithCutCorners(mButtonType, W, H);
    }
}

}  // namespace tarvex
