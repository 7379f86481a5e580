// Drawing primitives: pixels, lines, rectangles and segmented outlines, bevel border, focus cue.
// Each primitive makes its own pen or brush; the pen it selects replaces (and frees) the previous
// one, so at most the pen of the latest primitive stays alive in the surface.
#include <array>

#include "button/TarvexButton.hpp"
#include "button/render/Segments.hpp"

namespace tarvex {

namespace {

gdi::COLORREF Colour(OleColor c) {
    return gdi::COLORREF(std::uint32_t(c) & 0x00FFFFFFu);
}

void SelectSolidPen(gdi::DeviceContext& dc, OleColor colour) {
    dc.SelectObject(gdi::Pen::Solid(Colour(colour)));
}

}  // namespace

void TarvexButton::SetPixelColor(std::int32_t x, std::int32_t y, OleColor colour) {
    hDC().SetPixelV(x, y, Colour(colour));
}

void TarvexButton::DrawLine(std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
                            OleColor colour) {
    gdi::DeviceContext& dc = hDC();
    SelectSolidPen(dc, colour);
    dc.MoveToEx(x1, y1);
    dc.LineTo(x2, y2);
}

void TarvexButton::DrawRect(std::int32_t left, std::int32_t top, std::int32_t right,
                            std::int32_t bottom, OleColor colour, bool outline,
                            gdi::DeviceContext* dc) {
    gdi::DeviceContext& target = dc ? *dc : hDC();
    const gdi::Brush brush = gdi::Brush::Solid(Colour(colour));
    const gdi::RECT r{left, top, right, bottom};
    if (!outline) {
        target.FillRect(r, brush);
        return;
    }
    if (!IsSegmented(mButtonStyle)) {
        target.FrameRect(r, brush);
        return;
    }
    // The slanted outline always goes onto the control's own surface.
    const SegmentInsets in = InsetsForStyle(mButtonStyle);
    gdi::DeviceContext& own = hDC();
    SelectSolidPen(own, colour);
    const gdi::Brush previous = own.SelectObject(gdi::Brush::Hollow());
    const std::array<gdi::POINT, 4> outlinePoints{{{left, top},
                                                   {right - in.topRight, top},
                                                   {right, bottom - 1},
                                                   {left + in.bottomLeft, bottom - 1}}};
    own.Polygon(outlinePoints);
    own.SelectObject(previous);
}

void TarvexButton::DrawBorder(OleColor outerTopLeft, OleColor outerBottomRight,
                              OleColor innerTopLeft, OleColor innerBottomRight, std::int32_t inset,
                              bool single) {
    const std::int32_t W = ScaleWidth() - 1;
    const std::int32_t H = ScaleHeight() - 1;
    const SegmentInsets in = InsetsForStyle(mButtonStyle);
    const std::int32_t T = in.topRight;
    const std::int32_t B = in.bottomLeft;
    const std::int32_t k = inset;
    gdi::DeviceContext& dc = hDC();

    SelectSolidPen(dc, outerTopLeft);
    dc.MoveToEx(B + k, H);
    dc.LineTo(k, k);
    dc.LineTo(W - T, k);

    SelectSolidPen(dc, outerBottomRight);
    dc.LineTo(W, H);
    dc.LineTo(B + k - 1, H);

    dc.MoveToEx(B + k + 1, H);
    if (single) return;

    SelectSolidPen(dc, innerTopLeft);
    dc.LineTo(k + 1, k + 1);
    dc.LineTo(W - 1 - T, k + 1);

    SelectSolidPen(dc, innerBottomRight);
    dc.LineTo(W - 1, H - 1);
    dc.LineTo(B + k, H - 1);
}

void TarvexButton::DrawFocusCue() {
    if (!mShowFocus) return;
    gdi::RECT r{4, 4, ScaleWidth() - 4, ScaleHeight() - 4};
    if (mButtonStyle != 0 || mButtonType == 4) {
        r = {mCaptionRect.left, mCaptionRect.top, mCaptionRect.right, mCaptionRect.bottom};
    }
    gdi::DeviceContext& dc = hDC();
    dc.DrawFocusRect(r);
    dc.SetTextColor(Colour(mTextColor));
}

}  // namespace tarvex
