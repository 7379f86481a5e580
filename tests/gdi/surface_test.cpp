// Surfaces, the device context's state and single pixels.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::At;
using testing::Filled;

TEST(Surface, NewSurfaceIsOpaqueBlack) {
    Surface s(3, 2);
    EXPECT_EQ(s.at(2, 1), 0xFF000000u);
    EXPECT_TRUE(s.ownsPixels());
}

TEST(Surface, SidesAboveTheLimitOrNegativeAreRefused) {
    EXPECT_THROW(Surface(kMaxSurfaceSide + 1, 1), Error);
    EXPECT_THROW(Surface(1, kMaxSurfaceSide + 1), Error);
    EXPECT_THROW(Surface(-1, 4), Error);
    EXPECT_THROW(Surface(nullptr, 4, 4, 4), Error);
    std::vector<std::uint32_t> memory(16);
    EXPECT_THROW(Surface(memory.data(), 4, 4, 3), Error);  // stride below width
    EXPECT_NO_THROW(Surface(kMaxSurfaceSide, 0));
}

TEST(Surface, ZeroSizeSurfaceAcceptsEveryCall) {
    Surface s(0, 0);
    EXPECT_TRUE(s.empty());
    DeviceContext dc(s);
    EXPECT_EQ(dc.GetPixel(0, 0), CLR_INVALID);
    EXPECT_FALSE(dc.SetPixelV(0, 0, 0));
    dc.MoveToEx(-5, -5);
    EXPECT_TRUE(dc.LineTo(5, 5));
    EXPECT_TRUE(dc.FillRect({0, 0, 10, 10}, Brush()));
    EXPECT_TRUE(dc.FrameRect({0, 0, 10, 10}, Brush()));
    EXPECT_TRUE(dc.DrawFocusRect({0, 0, 10, 10}));
    const POINT pts[] = {{0, 0}, {5, 0}, {5, 5}};
    EXPECT_TRUE(dc.Polygon(pts));
    TRIVERTEX a, b;
    b.x = 10, b.y = 10;
    EXPECT_TRUE(dc.GradientFill(a, b, GRADIENT_FILL_RECT_H));
    Surface img = Filled(2, 2, 0);
    DeviceContext src(img);
    EXPECT_TRUE(dc.BitBlt(0, 0, 2, 2, src, 0, 0));
    EXPECT_TRUE(dc.StretchBlt(0, 0, 4, 4, src, 0, 0, 2, 2));
    EXPECT_TRUE(src.BitBlt(0, 0, 2, 2, dc, 0, 0));  // from an empty source: nothing to copy
    EXPECT_EQ(At(img, 0, 0), 0u);
    EXPECT_TRUE(dc.DrawState(img, 0, 0, 0, 0, DST_ICON | DSS_DISABLED));
    EXPECT_TRUE(dc.TextOut(0, 0, "text"));
}

TEST(Surface, WrapsExternalMemoryAndKeepsToItsWidth) {
    std::vector<std::uint32_t> memory(5 * 3, 0xAAAAAAAAu);
    Surface s(memory.data(), 3, 3, 5);
    EXPECT_FALSE(s.ownsPixels());
    DeviceContext dc(s);
    dc.FillRect({-10, -10, 10, 10}, Brush::Solid(0x00FF00));
    EXPECT_EQ(memory[1 * 5 + 2], ToPixel(0x00FF00));
    EXPECT_EQ(memory[1 * 5 + 3], 0xAAAAAAAAu);  // stride padding untouched
    EXPECT_EQ(memory[2 * 5 + 4], 0xAAAAAAAAu);
}

TEST(Surface, MovedFromIsEmptyAndCloneIsDeep) {
    Surface a = Filled(2, 2, 0x0000FF);
    Surface b(std::move(a));
    EXPECT_TRUE(a.empty());  // NOLINT(bugprone-use-after-move): the defined moved-from state
    EXPECT_EQ(a.bits(), nullptr);
    EXPECT_EQ(At(b, 1, 1), 0x0000FFu);
    Surface c = b.Clone();
    c.set(0, 0, ToPixel(0));
    EXPECT_EQ(At(b, 0, 0), 0x0000FFu);
    b = std::move(c);
    EXPECT_EQ(At(b, 0, 0), 0u);
    EXPECT_TRUE(c.empty());  // NOLINT(bugprone-use-after-move)
}

TEST(Pixels, SetAndGetInsideAndOutside) {
    Surface s = Filled(4, 4, 0xFFFFFF);
    DeviceContext dc(s);
    EXPECT_EQ(dc.SetPixel(1, 2, 0x00ABCDEF), 0x00ABCDEFu);
    EXPECT_EQ(dc.GetPixel(1, 2), 0x00ABCDEFu);
    EXPECT_EQ(PixelAlpha(s.at(1, 2)), 0xFF);
    EXPECT_EQ(dc.SetPixel(4, 0, 0), CLR_INVALID);
    EXPECT_FALSE(dc.SetPixelV(-1, 0, 0));
    EXPECT_EQ(dc.GetPixel(0, -1), CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(std::numeric_limits<int>::max(), 0), CLR_INVALID);
}

TEST(DeviceContext, SelectionsAndModesReturnWhatWasBefore) {
    Surface s(1, 1);
    DeviceContext dc(s);
    const Pen red = Pen::Solid(0x0000FF);
    const Pen stock = dc.SelectObject(red);
    EXPECT_EQ(stock.color(), 0x000000u);
    EXPECT_EQ(dc.SelectObject(stock).color(), 0x0000FFu);
    EXPECT_EQ(dc.SelectObject(Brush::Hollow()).color(), 0xFFFFFFu);  // the stock white brush
    EXPECT_EQ(dc.SetTextColor(0x112233), 0x000000u);
    EXPECT_EQ(dc.GetTextColor(), 0x112233u);
    EXPECT_EQ(dc.SetBkColor(0x445566), 0xFFFFFFu);
    EXPECT_EQ(dc.SetBkMode(TRANSPARENT), OPAQUE);
    EXPECT_EQ(dc.SetBkMode(7), 0);
    EXPECT_EQ(dc.GetBkMode(), TRANSPARENT);
    EXPECT_EQ(dc.SetGraphicsMode(GM_ADVANCED), GM_COMPATIBLE);
    EXPECT_EQ(dc.SetGraphicsMode(0), 0);
    EXPECT_EQ(dc.GetGraphicsMode(), GM_ADVANCED);
}

TEST(DeviceContext, ObjectsAreReleasedWithTheirLastCopy) {
    const Pen stockPen;  // stock objects live for the process: make them before counting
    const Brush stockBrush;
    const Region stockRegion;
    const auto pens = Pen::LiveCount();
    const auto brushes = Brush::LiveCount();
    const auto regions = Region::LiveCount();
    {
        Surface s(2, 2);
        DeviceContext dc(s);
        dc.SelectObject(Pen::Solid(1));
        dc.SelectObject(Brush::Solid(2));
        Region r = CreateRectRgn(0, 0, 1, 1);
        CombineRgn(r, r, CreateRectRgn(0, 0, 2, 2), RGN_OR);
        EXPECT_GT(Pen::LiveCount(), pens);
    }
    EXPECT_EQ(Pen::LiveCount(), pens);
    EXPECT_EQ(Brush::LiveCount(), brushes);
    EXPECT_EQ(Region::LiveCount(), regions);
}

TEST(RectHelpers, InflateOffsetCopyEmpty) {
    RECT r{1, 2, 5, 6};
    InflateRect(r, 1, -1);
    EXPECT_EQ(r, (RECT{0, 3, 6, 5}));
    OffsetRect(r, -2, 3);
    EXPECT_EQ(r, (RECT{-2, 6, 4, 8}));
    RECT c;
    CopyRect(c, r);
    EXPECT_EQ(c, r);
    EXPECT_FALSE(IsRectEmpty(r));
    EXPECT_TRUE(IsRectEmpty({3, 3, 3, 9}));
    EXPECT_TRUE(IsRectEmpty({5, 0, 1, 9}));
    RECT big{0, 0, std::numeric_limits<int>::max(), 0};
    OffsetRect(big, 1, 0);  // wraps as the system call does, without undefined behaviour
    EXPECT_EQ(big.right, std::numeric_limits<int>::min());
}

}  // namespace
}  // namespace gdi
