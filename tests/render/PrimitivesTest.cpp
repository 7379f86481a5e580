// Primitives and window shapes, pixel by pixel as the line and region rules place them.
#include <utility>
#include <vector>

#include "RenderFixture.hpp"

namespace tarvex::render_test {
namespace {

constexpr gdi::COLORREF kC1 = 0x0000FF;
constexpr gdi::COLORREF kC2 = 0x00FF00;
constexpr gdi::COLORREF kC3 = 0xFF0000;
constexpr gdi::COLORREF kC4 = 0x00FFFF;

using PrimitivesTest = RenderTest;

TEST_F(PrimitivesTest, BorderWithInsetOneLeavesOuterColumnAndRowAndEndsOnLastColumnAndRow) {
    Make(2, 10, 10);
    PaintWhite();
    button->DrawBorder(OleColor(kC1), OleColor(kC2), OleColor(kC3), OleColor(kC4), 1, false);

    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Pixel(0, i), kWhite) << "column 0, row " << i;
        EXPECT_EQ(Pixel(i, 0), kWhite) << "row 0, column " << i;
    }
    // Outer ring: up the left from (1,9), along the top to (9,1), down the right, back along row 9.
    EXPECT_EQ(Pixel(1, 8), kC1);
    EXPECT_EQ(Pixel(1, 2), kC1);
    EXPECT_EQ(Pixel(1, 1), kC1);
    EXPECT_EQ(Pixel(8, 1), kC1);
    EXPECT_EQ(Pixel(9, 1), kC2);
    EXPECT_EQ(Pixel(9, 8), kC2);
    EXPECT_EQ(Pixel(9, 9), kC2);
    EXPECT_EQ(Pixel(5, 9), kC2);
    EXPECT_EQ(Pixel(1, 9), kC2);
    // Inner ring starts at (2,9), one pixel in from the outer ring.
    EXPECT_EQ(Pixel(2, 9), kC3);
    EXPECT_EQ(Pixel(2, 3), kC3);
    EXPECT_EQ(Pixel(2, 2), kC3);
    EXPECT_EQ(Pixel(7, 2), kC3);
    EXPECT_EQ(Pixel(8, 2), kC4);
    EXPECT_EQ(Pixel(8, 7), kC4);
    EXPECT_EQ(Pixel(8, 8), kC4);
    EXPECT_EQ(Pixel(2, 8), kC4);
    EXPECT_EQ(Pixel(5, 5), kWhite);
}

TEST_F(PrimitivesTest, SingleBorderDrawsOnlyTheOuterRingInTwoColours) {
    Make(2, 10, 10);
    PaintWhite();
    button->DrawBorder(OleColor(kC1), OleColor(kC2), OleColor(kC3), OleColor(kC4), 0, true);
    EXPECT_EQ(Pixel(0, 0), kC1);
    EXPECT_EQ(Pixel(0, 8), kC1);
    EXPECT_EQ(Pixel(8, 0), kC1);
    EXPECT_EQ(Pixel(9, 0), kC2);
    EXPECT_EQ(Pixel(0, 9), kC2);
    EXPECT_EQ(Pixel(1, 1), kWhite);
    EXPECT_EQ(Pixel(8, 8), kWhite);
    EXPECT_EQ(Pixel(2, 9), kC2);
}

TEST_F(PrimitivesTest, SegmentedOutlineOfStyleTwoRunsThroughItsFourCorners) {
    TarvexButton& b = Make(2, 100, 30);
    b.mButtonStyle = 2;
    PaintWhite();
    b.DrawRect(0, 0, 100, 30, OleColor(kC1), true);

    // Top edge (0,0) to (82,0), the start of the slanted right edge at (82,0).
    EXPECT_EQ(Pixel(0, 0), kC1);
    EXPECT_EQ(Pixel(81, 0), kC1);
    EXPECT_EQ(Pixel(82, 0), kC1);
    EXPECT_EQ(Pixel(83, 0), kWhite);
    // Right edge (82,0) -> (100,29): y major, x steps where the error runs positive.
    const std::vector<std::pair<int, int>> right{{83, 1}, {83, 2}, {84, 3},
                                                 {84, 4}, {85, 5}, {86, 6}};
    for (auto [x, y] : right) EXPECT_EQ(Pixel(x, y), kC1) << x << "," << y;
    // Bottom edge right to left from (100,29) covers x 19..99 on the surface; the left edge
    // starts at (18,29) and climbs towards (0,0).
    EXPECT_EQ(Pixel(99, 29), kC1);
    EXPECT_EQ(Pixel(19, 29), kC1);
    EXPECT_EQ(Pixel(18, 29), kC1);
    EXPECT_EQ(Pixel(17, 28), kC1);
    EXPECT_EQ(Pixel(17, 27), kC1);
    EXPECT_EQ(Pixel(16, 26), kC1);
    EXPECT_EQ(Pixel(17, 29), kWhite);
    EXPECT_EQ(Pixel(50, 15), kWhite);
    EXPECT_EQ(Pixel(0, 29), kWhite);
}

TEST_F(PrimitivesTest, FilledRectangleIgnoresTheSegmentShape) {
    TarvexButton& b = Make(2, 100, 30);
    b.mButtonStyle = 2;
    b.DrawRect(0, 0, 100, 30, OleColor(kC2), false);
    EXPECT_EQ(Pixel(0, 29), kC2);
    EXPECT_EQ(Pixel(99, 0), kC2);
}

TEST_F(PrimitivesTest, PrimitivesKeepOnlyTheLatestPenAndNoBrush) {
    TarvexButton& b = Make(2, 20, 20);
    b.DrawLine(0, 0, 5, 5, OleColor(kC1));
    const std::int64_t pens = gdi::Pen::LiveCount();
    const std::int64_t brushes = gdi::Brush::LiveCount();
    for (int i = 0; i < 10; ++i) {
        b.DrawLine(0, i, 10, i, OleColor(kC1));
        b.DrawBorder(OleColor(kC1), OleColor(kC2), OleColor(kC3), OleColor(kC4), 0, false);
        b.DrawRect(1, 1, 9, 9, OleColor(kC3), i % 2 == 0);
        b.mButtonStyle = i % 4;
    }
    EXPECT_EQ(gdi::Pen::LiveCount(), pens);
    EXPECT_EQ(gdi::Brush::LiveCount(), brushes);
}

TEST_F(PrimitivesTest, FocusCueOfRectangularButtonDotsFourPixelsIn) {
    TarvexButton& b = Make(2, 75, 25);
    b.mShowFocus = kTrue;
    PaintWhite();
    b.DrawFocusCue();
    // Border of [4,71) x [4,21); dots where x + y is even, like the top-right pixel (70,4).
    EXPECT_EQ(Pixel(70, 4), 0x000000u);
    EXPECT_EQ(Pixel(69, 4), kWhite);
    EXPECT_EQ(Pixel(4, 4), 0x000000u);
    EXPECT_EQ(Pixel(5, 4), kWhite);
    EXPECT_EQ(Pixel(4, 6), 0x000000u);
    EXPECT_EQ(Pixel(4, 5), kWhite);
    EXPECT_EQ(Pixel(70, 20), 0x000000u);
    EXPECT_EQ(Pixel(4, 20), 0x000000u);
    EXPECT_EQ(Pixel(71, 4), kWhite);
    EXPECT_EQ(Pixel(3, 4), kWhite);
    EXPECT_EQ(Pixel(4, 21), kWhite);
    EXPECT_EQ(Pixel(30, 12), kWhite);
    EXPECT_EQ(b.hDC().GetTextColor(), kText);
}

TEST_F(PrimitivesTest, FocusCueOffChangesNothingNotEvenTheTextColour) {
    TarvexButton& b = Make(2, 75, 25);
    PaintWhite();
    b.hDC().SetTextColor(0x123456);
    b.DrawFocusCue();
    EXPECT_EQ(Pixel(70, 4), kWhite);
    EXPECT_EQ(Pixel(4, 4), kWhite);
    EXPECT_EQ(b.hDC().GetTextColor(), 0x123456u);
}

TEST_F(PrimitivesTest, FocusCueOfSegmentedOrEtchedButtonFollowsTheCaptionRectangle) {
    for (auto [type, style] : {std::pair{2, 1}, std::pair{4, 0}}) {
        TarvexButton& b = Make(type, 75, 25);
        b.mButtonStyle = style;
        b.mShowFocus = kTrue;
        b.mCaptionRect = {10, 5, 30, 15};
        PaintWhite();
        b.DrawFocusCue();
        EXPECT_EQ(Pixel(29, 5), 0x000000u) << "type " << type;
        EXPECT_EQ(Pixel(10, 14), 0x000000u) << "type " << type;
        EXPECT_EQ(Pixel(70, 4), kWhite) << "type " << type;
    }
}

using RegionTest = RenderTest;

bool Inside(const TarvexButton& b, int x, int y) {
    return b.mRegion && b.mRegion->PtInRegion(x, y);
}

TEST_F(RegionTest, StyleTwoCutsEighteenPixelsAtBottomLeftAndTopRight) {
    TarvexButton& b = Make(2, 100, 30);
    b.mButtonStyle = 2;
    b.BuildRegion();
    // Edges (0,0)-(18,30) and (82,0)-(100,30): a row starts at ceil(0.6 y) and ends before
    // ceil(82 + 0.6 y).
    EXPECT_TRUE(Inside(b, 0, 0));
    EXPECT_TRUE(Inside(b, 81, 0));
    EXPECT_FALSE(Inside(b, 82, 0));
    EXPECT_FALSE(Inside(b, 2, 5));
    EXPECT_TRUE(Inside(b, 3, 5));
    EXPECT_TRUE(Inside(b, 84, 5));
    EXPECT_FALSE(Inside(b, 85, 5));
    EXPECT_FALSE(Inside(b, 17, 29));
    EXPECT_TRUE(Inside(b, 18, 29));
    EXPECT_TRUE(Inside(b, 99, 29));
    EXPECT_FALSE(Inside(b, 50, 30));
}

TEST_F(RegionTest, SoftFrameAndShadedLoseThreePixelsAtEachCorner) {
    for (int type : {3, 8}) {
        TarvexButton& b = Make(type, 81, 25);
        b.BuildRegion();
        const std::vector<std::pair<int, int>> cut{{0, 0},  {1, 0},   {0, 1},   {80, 0},
                                                   {79, 0}, {80, 1},  {0, 24},  {1, 24},
                                                   {0, 23}, {80, 24}, {79, 24}, {80, 23}};
        for (auto [x, y] : cut) EXPECT_FALSE(Inside(b, x, y)) << type << ": " << x << "," << y;
        const std::vector<std::pair<int, int>> kept{{2, 0},  {1, 1},   {0, 2},  {78, 0},
                                                    {79, 1}, {80, 2},  {1, 23}, {79, 23},
                                                    {2, 24}, {78, 24}, {40, 12}};
        for (auto [x, y] : kept) EXPECT_TRUE(Inside(b, x, y)) << type << ": " << x << "," << y;
    }
}

TEST_F(RegionTest, EtchedLosesOnlyBottomLeftAndTopRightPixels) {
    TarvexButton& b = Make(4, 81, 25);
    b.BuildRegion();
    EXPECT_FALSE(Inside(b, 0, 24));
    EXPECT_FALSE(Inside(b, 80, 0));
    EXPECT_TRUE(Inside(b, 0, 0));
    EXPECT_TRUE(Inside(b, 80, 24));
    EXPECT_TRUE(Inside(b, 1, 24));
    EXPECT_TRUE(Inside(b, 79, 0));
}

TEST_F(RegionTest, FramedBevelLosesOneCornerPixelUnlessSegmented) {
    TarvexButton& b = Make(1, 81, 25);
    b.BuildRegion();
    EXPECT_FALSE(Inside(b, 0, 0));
    EXPECT_FALSE(Inside(b, 80, 24));
    EXPECT_TRUE(Inside(b, 1, 0));

    b.mButtonStyle = 1;  // straight left side, slanted right side, no corner cuts
    b.BuildRegion();
    EXPECT_TRUE(Inside(b, 0, 0));
    EXPECT_TRUE(Inside(b, 0, 24));
    EXPECT_FALSE(Inside(b, 63, 0));
    EXPECT_TRUE(Inside(b, 62, 0));
}

TEST_F(RegionTest, PlainLooksKeepTheFullRectangle) {
    for (int type : {2, 5, 6, 7, 0, 99}) {
        TarvexButton& b = Make(type, 81, 25);
        b.BuildRegion();
        ASSERT_TRUE(b.mRegion);
        EXPECT_EQ(b.mRegion->Box(), (gdi::RECT{0, 0, 81, 25})) << type;
        EXPECT_EQ(b.mRegion->Kind(), gdi::SIMPLEREGION) << type;
    }
}

TEST_F(RegionTest, EmptyButtonGetsAnEmptyShape) {
    TarvexButton& b = Make(8, 0, 0);
    b.BuildRegion();
    ASSERT_TRUE(b.mRegion);
    EXPECT_TRUE(b.mRegion->empty());
}

}  // namespace
}  // namespace tarvex::render_test
