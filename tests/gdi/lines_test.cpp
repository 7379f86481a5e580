// Lines and polygon outlines: the octant-biased Bresenham walk, end-point exclusion, clipping.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::Changed;
using testing::Filled;
using testing::PixelSet;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kInk = 0x0000FF;

PixelSet Line(int width, int height, POINT from, POINT to) {
    Surface s = Filled(width, height, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Solid(kInk));
    dc.MoveToEx(from.x, from.y);
    dc.LineTo(to.x, to.y);
    return Changed(s, kWhite);
}

TEST(Lines, WorkedCasesOfTheOctantBias) {
    EXPECT_EQ(Line(10, 10, {0, 0}, {4, 2}), (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}}));
    EXPECT_EQ(Line(10, 10, {4, 2}, {0, 0}), (PixelSet{{4, 2}, {3, 1}, {2, 1}, {1, 0}}));
    // (0,0)->(4,-2) moved down by 5 so that it lands on the surface.
    EXPECT_EQ(Line(10, 10, {0, 5}, {4, 3}), (PixelSet{{0, 5}, {1, 4}, {2, 4}, {3, 3}}));
    EXPECT_EQ(Line(10, 10, {1, 1}, {8, 5}),
              (PixelSet{{1, 1}, {2, 2}, {3, 2}, {4, 3}, {5, 3}, {6, 4}, {7, 4}}));
}

TEST(Lines, EveryOctantWithItsBias) {
    // Octant 2 (steep, down-right), bias 0.
    EXPECT_EQ(Line(20, 20, {10, 10}, {12, 14}), (PixelSet{{10, 10}, {10, 11}, {11, 12}, {11, 13}}));
    // Octant 3 (steep, down-left), bias 1: the minor step comes early.
    EXPECT_EQ(Line(20, 20, {10, 10}, {8, 14}), (PixelSet{{10, 10}, {9, 11}, {9, 12}, {8, 13}}));
    // Octant 4 (shallow, down-left), bias 0.
    EXPECT_EQ(Line(20, 20, {10, 10}, {6, 12}), (PixelSet{{10, 10}, {9, 10}, {8, 11}, {7, 11}}));
    // Octant 5 (shallow, up-left), bias 1.
    EXPECT_EQ(Line(20, 20, {10, 10}, {6, 8}), (PixelSet{{10, 10}, {9, 9}, {8, 9}, {7, 8}}));
    // Octant 6 (steep, up-left), bias 1.
    EXPECT_EQ(Line(20, 20, {10, 10}, {8, 6}), (PixelSet{{10, 10}, {9, 9}, {9, 8}, {8, 7}}));
    // Octant 7 (steep, up-right), bias 0.
    EXPECT_EQ(Line(20, 20, {10, 10}, {12, 6}), (PixelSet{{10, 10}, {10, 9}, {11, 8}, {11, 7}}));
    // Octant 8 (shallow, up-right), bias 1.
    EXPECT_EQ(Line(20, 20, {10, 10}, {14, 8}), (PixelSet{{10, 10}, {11, 9}, {12, 9}, {13, 8}}));
}

TEST(Lines, HorizontalAndVerticalCoverStartToBeforeEnd) {
    EXPECT_EQ(Line(12, 3, {10, 1}, {4, 1}),
              (PixelSet{{5, 1}, {6, 1}, {7, 1}, {8, 1}, {9, 1}, {10, 1}}));
    EXPECT_EQ(Line(12, 3, {4, 1}, {7, 1}), (PixelSet{{4, 1}, {5, 1}, {6, 1}}));
    EXPECT_EQ(Line(3, 8, {1, 2}, {1, 5}), (PixelSet{{1, 2}, {1, 3}, {1, 4}}));
    EXPECT_EQ(Line(3, 8, {1, 5}, {1, 2}), (PixelSet{{1, 5}, {1, 4}, {1, 3}}));
}

TEST(Lines, ZeroLengthDrawsNothing) {
    EXPECT_TRUE(Line(5, 5, {2, 2}, {2, 2}).empty());
}

TEST(Lines, ClippedPerPixelAtEveryEdge) {
    // (-4,-2)->(12,6): slope 1/2; the part on an 8 x 8 surface is the walk from (0,0).
    EXPECT_EQ(Line(8, 8, {-4, -2}, {12, 6}),
              (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}, {7, 3}}));
    // Past the right and bottom edges.
    EXPECT_EQ(Line(4, 4, {2, 2}, {9, 9}), (PixelSet{{2, 2}, {3, 3}}));
    EXPECT_EQ(Line(4, 4, {-3, 1}, {40, 1}), (PixelSet{{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
    EXPECT_TRUE(Line(4, 4, {-3, -1}, {40, -1}).empty());
}

TEST(Lines, FarAwayEndsWalkTheSameLine) {
    // Same 2:1 slope and phase as (-4,-2)->(12,6), started two billion pixels away.
    const int n = 1'000'000'000;
    EXPECT_EQ(Line(8, 8, {-4 - 2 * n, -2 - n}, {12, 6}),
              (PixelSet{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}, {6, 3}, {7, 3}}));
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    EXPECT_EQ(Line(3, 3, {lo, lo}, {hi, hi}), (PixelSet{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(Line(3, 2, {hi, 0}, {lo, 0}), (PixelSet{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(Lines, LineToMovesThePositionAndNullPenDrawsNothing) {
    Surface s = Filled(6, 6, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Null());
    EXPECT_EQ(dc.MoveToEx(1, 1), (POINT{0, 0}));
    EXPECT_TRUE(dc.LineTo(4, 1));
    EXPECT_EQ(dc.GetCurrentPositionEx(), (POINT{4, 1}));
    EXPECT_TRUE(Changed(s, kWhite).empty());
    dc.SelectObject(Pen::Solid(kInk));
    dc.LineTo(4, 3);  // continues from (4,1)
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{4, 1}, {4, 2}}));
}

TEST(Polygon, HollowOutlineDrawsEveryVertexOnce) {
    Surface s = Filled(8, 7, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Solid(kInk));
    dc.SelectObject(Brush::Hollow());
    const POINT pts[] = {{1, 1}, {5, 1}, {5, 4}, {1, 4}};
    EXPECT_TRUE(dc.Polygon(pts));
    EXPECT_EQ(Changed(s, kWhite), (PixelSet{{1, 1},
                                            {2, 1},
                                            {3, 1},
                                            {4, 1},
                                            {5, 1},
                                            {5, 2},
                                            {5, 3},
                                            {5, 4},
                                            {4, 4},
                                            {3, 4},
                                            {2, 4},
                                            {1, 4},
                                            {1, 3},
                                            {1, 2}}));
    EXPECT_EQ(dc.GetCurrentPositionEx(), (POINT{0, 0}));  // Polygon leaves the position alone
}

TEST(Polygon, SegmentedOutlineCorners) {
    Surface s = Filled(100, 30, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Solid(kInk));
    dc.SelectObject(Brush::Hollow());
    const POINT pts[] = {{0, 0}, {82, 0}, {100, 29}, {18, 29}};
    dc.Polygon(pts);
    using testing::At;
    EXPECT_EQ(At(s, 0, 0), kInk);
    EXPECT_EQ(At(s, 81, 0), kInk);
    EXPECT_EQ(At(s, 82, 0), kInk);  // start of the slanted right edge
    EXPECT_EQ(At(s, 83, 0), kWhite);
    EXPECT_EQ(At(s, 99, 29), kInk);  // bottom edge runs right to left from (100,29), clipped
    EXPECT_EQ(At(s, 18, 29), kInk);
    EXPECT_EQ(At(s, 17, 29), kWhite);
    EXPECT_EQ(At(s, 50, 15), kWhite);
}

TEST(Polygon, FilledWithTheBrushThenOutlined) {
    Surface s = Filled(8, 8, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Solid(kInk));
    dc.SelectObject(Brush::Solid(0x00FF00));
    const POINT pts[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};
    dc.Polygon(pts);
    using testing::At;
    EXPECT_EQ(At(s, 2, 2), 0x00FF00u);
    EXPECT_EQ(At(s, 4, 4), 0x00FF00u);
    EXPECT_EQ(At(s, 1, 1), kInk);
    EXPECT_EQ(At(s, 5, 5), kInk);
    EXPECT_EQ(At(s, 6, 6), kWhite);
}

// The diagonal y = x from (-60000, -60000) to (60000, 60000), closed through 1,000 vertices that
// zigzag far to the left of the surface: each row y crosses the zigzag once, left of the surface,
// and the diagonal exactly at x = y, so row y fills x = 0 .. y - 1 and nothing else.
TEST(Polygon, FarApartVerticesFillTheVisibleRowsOnly) {
    std::vector<POINT> pts{{-60000, -60000}, {60000, 60000}};
    for (int i = 0; i < 1000; ++i) pts.push_back({i % 2 ? -50000 : -60000, 60000 - 120 * i});
    PixelSet inside;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < y; ++x) inside.insert({x, y});

    Surface s = Filled(16, 16, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Null());
    dc.SelectObject(Brush::Solid(kInk));
    EXPECT_TRUE(dc.Polygon(pts));
    EXPECT_EQ(Changed(s, kWhite), inside);

    const Region visible = CreatePolygonRgn(pts, ALTERNATE, RECT{0, 0, 16, 16});
    EXPECT_EQ(visible.Box(), (RECT{0, 1, 15, 16}));
    EXPECT_EQ(visible.Spans().size(), 15u);
}

TEST(Polygon, DegenerateInputIsRefusedOrHarmless) {
    Surface s = Filled(4, 4, kWhite);
    DeviceContext dc(s);
    EXPECT_FALSE(dc.Polygon({}));
    const POINT one[] = {{1, 1}};
    EXPECT_FALSE(dc.Polygon(one));
    const POINT huge[] = {{std::numeric_limits<int>::min(), 0},
                          {std::numeric_limits<int>::max(), 2},
                          {0, std::numeric_limits<int>::max()}};
    EXPECT_TRUE(dc.Polygon(huge));
}

}  // namespace
}  // namespace gdi
