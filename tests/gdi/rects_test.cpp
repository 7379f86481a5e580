// FillRect, FrameRect and the dotted focus rectangle.
#include <gtest/gtest.h>

#include <limits>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::At;
using testing::Changed;
using testing::Filled;
using testing::PixelSet;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kInk = 0x123456;

TEST(FillRect, FillsLeftTopInclusiveRightBottomExclusive) {
    Surface s = Filled(8, 8, kWhite);
    DeviceContext dc(s);
    EXPECT_TRUE(dc.FillRect({2, 3, 5, 5}, Brush::Solid(kInk)));
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{2, 3}, {3, 3}, {4, 3}, {2, 4}, {3, 4}, {4, 4}}));
    EXPECT_EQ(At(s, 3, 3), kInk);
}

TEST(FillRect, EmptyOrInvertedRectanglesAreNotFlipped) {
    Surface s = Filled(8, 8, kWhite);
    DeviceContext dc(s);
    dc.FillRect({5, 5, 2, 2}, Brush::Solid(kInk));
    dc.FillRect({3, 3, 3, 6}, Brush::Solid(kInk));
    dc.FillRect({1, 1, 4, 4}, Brush::Hollow());
    EXPECT_TRUE(Changed(s, kWhite).empty());
}

TEST(FillRect, PastEveryEdgeAndHugeCoordinates) {
    Surface s = Filled(6, 4, kWhite);
    DeviceContext dc(s);
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    dc.FillRect({lo, lo, hi, hi}, Brush::Solid(kInk));
    EXPECT_EQ(Changed(s, kInk), PixelSet{});
    Surface t = Filled(6, 4, kWhite);
    DeviceContext dt(t);
    dt.FillRect({4, -10, 100, 2}, Brush::Solid(kInk));
    EXPECT_EQ(Changed(t, kWhite), (PixelSet{{4, 0}, {5, 0}, {4, 1}, {5, 1}}));
}

TEST(FrameRect, OneAndTwoPixelRectangles) {
    Surface s = Filled(8, 8, kWhite);
    DeviceContext dc(s);
    dc.FrameRect({3, 3, 4, 4}, Brush::Solid(kInk));
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{3, 3}}));

    Surface t = Filled(8, 8, kWhite);
    DeviceContext dt(t);
    dt.FrameRect({2, 2, 4, 4}, Brush::Solid(kInk));
    EXPECT_EQ(Changed(t, kWhite), (PixelSet{{2, 2}, {3, 2}, {2, 3}, {3, 3}}));

    Surface u = Filled(8, 8, kWhite);
    DeviceContext du(u);
    du.FrameRect({1, 1, 2, 4}, Brush::Solid(kInk));
    EXPECT_EQ(Changed(u, kWhite), (PixelSet{{1, 1}, {1, 2}, {1, 3}}));
}

TEST(FrameRect, BorderOnlyInteriorUntouched) {
    Surface s = Filled(8, 8, kWhite);
    DeviceContext dc(s);
    dc.FrameRect({1, 1, 5, 4}, Brush::Solid(kInk));
    EXPECT_EQ(
        Changed(s, kWhite),
        (PixelSet{{1, 1}, {2, 1}, {3, 1}, {4, 1}, {1, 2}, {4, 2}, {1, 3}, {2, 3}, {3, 3}, {4, 3}}));
}

TEST(FrameRect, PastTheEdges) {
    Surface s = Filled(6, 4, kWhite);
    DeviceContext dc(s);
    dc.FrameRect({-1, -1, 7, 5}, Brush::Solid(kInk));  // the whole frame lies outside
    EXPECT_TRUE(Changed(s, kWhite).empty());
    dc.FrameRect({-3, 1, 3, 3}, Brush::Solid(kInk));
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}));
    dc.FrameRect({4, 4, 2, 2}, Brush::Solid(0));  // inverted: nothing
    EXPECT_EQ(Changed(s, kWhite).size(), 6u);
}

TEST(DrawFocusRect, WorkedCaseOnWhite) {
    Surface s = Filled(10, 10, kWhite);
    DeviceContext dc(s);
    EXPECT_TRUE(dc.DrawFocusRect({2, 2, 8, 8}));
    EXPECT_EQ(
        Changed(s, kWhite),
        (PixelSet{{3, 2}, {5, 2}, {7, 2}, {2, 3}, {7, 4}, {2, 5}, {7, 6}, {2, 7}, {4, 7}, {6, 7}}));
    EXPECT_EQ(At(s, 7, 2), 0x000000u);  // the top-right pixel is always inverted
}

TEST(DrawFocusRect, DrawingTwiceRestoresExactly) {
    Surface s(12, 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) s.set(x, y, ToPixel(RGB(x * 20, y * 25, (x * y) & 0xFF)));
    }
    const Surface before = s.Clone();
    DeviceContext dc(s);
    dc.DrawFocusRect({1, 1, 11, 8});
    EXPECT_NE(At(s, 10, 1), At(before, 10, 1));
    dc.DrawFocusRect({1, 1, 11, 8});
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 12; ++x) ASSERT_EQ(s.at(x, y), before.at(x, y)) << x << "," << y;
    }
}

TEST(DrawFocusRect, PhaseFollowsTheTopRightCornerEvenWhenClipped) {
    Surface s = Filled(6, 6, kWhite);
    DeviceContext dc(s);
    dc.DrawFocusRect({-2, -2, 4, 4});  // parity of (3 + -2): odd
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{0, 3}, {2, 3}, {3, 0}, {3, 2}}));
}

TEST(DrawFocusRect, OnePixelWideInvertsEachPixelOnce) {
    Surface s = Filled(8, 6, kWhite);
    DeviceContext dc(s);
    dc.DrawFocusRect({5, 1, 6, 4});  // parity of (5 + 1): even
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{5, 1}, {5, 3}}));
    dc.DrawFocusRect({3, 3, 3, 5});  // empty: nothing
    EXPECT_EQ(Changed(s, kWhite).size(), 2u);
}

}  // namespace
}  // namespace gdi
