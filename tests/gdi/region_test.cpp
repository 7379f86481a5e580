// Regions: rectangles, polygon scan conversion (alternate and winding), combining, spans.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "gdi/gdi.hpp"

namespace gdi {
namespace {

TEST(Region, RectangleOrdersItsCorners) {
    const Region r = CreateRectRgn(5, 4, 1, 2);
    EXPECT_EQ(r.Box(), (RECT{1, 2, 5, 4}));
    EXPECT_EQ(r.Kind(), SIMPLEREGION);
    EXPECT_TRUE(r.PtInRegion(1, 2));
    EXPECT_TRUE(r.PtInRegion(4, 3));
    EXPECT_FALSE(r.PtInRegion(5, 3));
    EXPECT_FALSE(r.PtInRegion(4, 4));
    EXPECT_EQ(CreateRectRgn(0, 0, 0, 0).Kind(), NULLREGION);
    EXPECT_EQ(CreateRectRgn(0, 0, 0, 0).Box(), (RECT{}));
    EXPECT_EQ(Region().Kind(), NULLREGION);
}

// ceil(0.6 * y) for y = 0..29: where the slanted left edge (0,0)-(18,30) crosses each row.
constexpr int kLeftEdge[30] = {0, 1,  2,  2,  3,  3,  4,  5,  5,  6,  6,  7,  8,  8,  9,
                               9, 10, 11, 11, 12, 12, 13, 14, 14, 15, 15, 16, 17, 17, 18};

TEST(Region, SegmentedPolygonRowByRow) {
    const POINT pts[] = {{0, 0}, {18, 30}, {100, 30}, {82, 0}};
    const Region r = CreatePolygonRgn(pts, WINDING);
    const std::vector<RowSpan> spans = r.Spans();
    ASSERT_EQ(spans.size(), 30u);
    for (int y = 0; y < 30; ++y) {
        // The right edge (82,0)-(100,30) is the left edge moved 82 to the right.
        EXPECT_EQ(spans[y], (RowSpan{y, kLeftEdge[y], 82 + kLeftEdge[y]})) << "row " << y;
    }
    EXPECT_TRUE(r.PtInRegion(0, 0));
    EXPECT_FALSE(r.PtInRegion(82, 0));
    EXPECT_TRUE(r.PtInRegion(81, 0));
    EXPECT_FALSE(r.PtInRegion(17, 29));
    EXPECT_TRUE(r.PtInRegion(99, 29));
    EXPECT_FALSE(r.PtInRegion(50, 30));
    EXPECT_EQ(r.Box(), (RECT{0, 0, 100, 30}));
    EXPECT_EQ(r.Kind(), COMPLEXREGION);
}

TEST(Region, TopLeftEdgesInRightBottomEdgesOut) {
    const POINT pts[] = {{0, 0}, {8, 0}, {0, 8}};
    const Region r = CreatePolygonRgn(pts, ALTERNATE);
    for (int y = 0; y < 8; ++y) {
        EXPECT_TRUE(r.PtInRegion(0, y));
        EXPECT_TRUE(r.PtInRegion(7 - y, y)) << y;
        EXPECT_FALSE(r.PtInRegion(8 - y, y)) << y;
    }
    EXPECT_FALSE(r.PtInRegion(0, 8));
    EXPECT_FALSE(r.PtInRegion(-1, 0));
}

TEST(Region, AlternateAndWindingDifferOnADoubleLoop) {
    const POINT twice[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(CreatePolygonRgn(twice, ALTERNATE).empty());
    const Region w = CreatePolygonRgn(twice, WINDING);
    EXPECT_EQ(w.Box(), (RECT{0, 0, 4, 4}));
    EXPECT_EQ(w.Kind(), SIMPLEREGION);
    // Two overlapping squares drawn the same way round: the overlap is a hole only when
    // alternating.
    const POINT both[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}, {0, 0},
                          {2, 2}, {6, 2}, {6, 6}, {2, 6}, {2, 2}};
    EXPECT_FALSE(CreatePolygonRgn(both, ALTERNATE).PtInRegion(3, 3));
    EXPECT_TRUE(CreatePolygonRgn(both, WINDING).PtInRegion(3, 3));
    EXPECT_TRUE(CreatePolygonRgn(both, ALTERNATE).PtInRegion(1, 1));
    EXPECT_TRUE(CreatePolygonRgn(both, ALTERNATE).PtInRegion(5, 5));
}

TEST(Region, DegeneratePolygonsAreEmpty) {
    const POINT two[] = {{0, 0}, {5, 5}};
    EXPECT_TRUE(CreatePolygonRgn(two, WINDING).empty());
    const POINT line[] = {{0, 0}, {5, 5}, {10, 10}};
    EXPECT_TRUE(CreatePolygonRgn(line, WINDING).empty());
    const POINT flat[] = {{0, 3}, {5, 3}, {9, 3}};
    EXPECT_TRUE(CreatePolygonRgn(flat, ALTERNATE).empty());
    const POINT square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
    EXPECT_TRUE(CreatePolygonRgn(square, 7).empty());  // unknown fill mode
}

TEST(Region, HugePolygonIsBoundedAndStillCorrectNearTheOrigin) {
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    const POINT pts[] = {{lo, lo}, {hi, lo}, {hi, hi}, {lo, hi}};
    const Region r = CreatePolygonRgn(pts, WINDING);
    EXPECT_TRUE(r.PtInRegion(0, 0));
    EXPECT_TRUE(r.PtInRegion(32767, -32767));
    EXPECT_EQ(r.Kind(), SIMPLEREGION);
    EXPECT_EQ(r.Spans(RECT{0, 0, 3, 2}), (std::vector<RowSpan>{{0, 0, 3}, {1, 0, 3}}));
}

TEST(Region, DifferenceCutsCorners) {
    Region r = CreateRectRgn(0, 0, 10, 10);
    Region work = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(work, r, CreateRectRgn(0, 0, 1, 1), RGN_DIFF), COMPLEXREGION);
    CombineRgn(r, work, CreateRectRgn(9, 9, 10, 10), RGN_DIFF);
    EXPECT_FALSE(r.PtInRegion(0, 0));
    EXPECT_TRUE(r.PtInRegion(1, 0));
    EXPECT_TRUE(r.PtInRegion(0, 1));
    EXPECT_FALSE(r.PtInRegion(9, 9));
    EXPECT_TRUE(r.PtInRegion(8, 9));
    EXPECT_EQ(r.Box(), (RECT{0, 0, 10, 10}));
}

TEST(Region, DifferenceSpansMergeRows) {
    Region r;
    CombineRgn(r, CreateRectRgn(0, 0, 4, 3), CreateRectRgn(1, 1, 3, 2), RGN_DIFF);
    EXPECT_EQ(r.Spans(), (std::vector<RowSpan>{{0, 0, 4}, {1, 0, 1}, {1, 3, 4}, {2, 0, 4}}));
    EXPECT_EQ(r.Spans(RECT{2, 1, 10, 3}), (std::vector<RowSpan>{{1, 3, 4}, {2, 2, 4}}));
}

TEST(Region, AndOrXorCopy) {
    const Region a = CreateRectRgn(0, 0, 4, 4);
    const Region b = CreateRectRgn(2, 2, 6, 6);
    Region r;
    EXPECT_EQ(CombineRgn(r, a, b, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(r.Box(), (RECT{2, 2, 4, 4}));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_OR), COMPLEXREGION);
    EXPECT_EQ(r.Spans(RECT{0, 1, 10, 3}), (std::vector<RowSpan>{{1, 0, 4}, {2, 0, 6}}));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_EQ(r.Spans(RECT{0, 2, 10, 3}), (std::vector<RowSpan>{{2, 0, 2}, {2, 4, 6}}));
    EXPECT_EQ(CombineRgn(r, a, b, RGN_COPY), SIMPLEREGION);
    EXPECT_EQ(r.Box(), (RECT{0, 0, 4, 4}));
    EXPECT_EQ(CombineRgn(r, a, a, RGN_DIFF), NULLREGION);
    EXPECT_EQ(CombineRgn(r, b, a, 99), RGN_ERROR);
    EXPECT_TRUE(r.empty());  // unchanged by the refused call
    // Touching rectangles join into one run.
    EXPECT_EQ(CombineRgn(r, CreateRectRgn(0, 0, 2, 1), CreateRectRgn(2, 0, 5, 1), RGN_OR),
              SIMPLEREGION);
}

}  // namespace
}  // namespace gdi
