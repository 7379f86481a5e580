// Rectangle gradients: integer division at every step, vertex order, clipping.
#include <gtest/gtest.h>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::At;
using testing::Changed;
using testing::Filled;

TRIVERTEX Vertex(int x, int y, COLORREF c) {
    TRIVERTEX v;
    v.x = x;
    v.y = y;
    v.Red = static_cast<std::uint16_t>(GetRValue(c) << 8);
    v.Green = static_cast<std::uint16_t>(GetGValue(c) << 8);
    v.Blue = static_cast<std::uint16_t>(GetBValue(c) << 8);
    return v;
}

TEST(GradientFill, HorizontalFirstAndLastColumns) {
    Surface s = Filled(256, 2, 0xFFFFFF);
    DeviceContext dc(s);
    ASSERT_TRUE(
        dc.GradientFill(Vertex(0, 0, 0x000000), Vertex(256, 2, 0x0000FF), GRADIENT_FILL_RECT_H));
    EXPECT_EQ(At(s, 0, 0), 0x000000u);
    EXPECT_EQ(At(s, 1, 0), 0x000000u);    // (0xFF00 / 256) / 256 = 0
    EXPECT_EQ(At(s, 128, 1), 0x00007Fu);  // 0x7F80 / 256 = 127
    EXPECT_EQ(At(s, 255, 0), 0x0000FEu);  // one step short of the end colour
    EXPECT_EQ(At(s, 255, 1), 0x0000FEu);
}

TEST(GradientFill, VerticesAreOrderedWithTheirColours) {
    Surface s = Filled(4, 1, 0xFFFFFF);
    DeviceContext dc(s);
    // Right vertex first: the left one still supplies the first column.
    dc.GradientFill(Vertex(4, 1, 0xFF0000), Vertex(0, 0, 0x000000), GRADIENT_FILL_RECT_H);
    EXPECT_EQ(At(s, 0, 0), 0x000000u);
    EXPECT_EQ(At(s, 1, 0), 0x3F0000u);  // 0xFF00 * 1 / 4 = 16320 -> 63
    EXPECT_EQ(At(s, 3, 0), 0xBF0000u);  // 48960 -> 191
}

TEST(GradientFill, VerticalRowsTruncateEachDivision) {
    Surface s = Filled(2, 4, 0xFFFFFF);
    DeviceContext dc(s);
    dc.GradientFill(Vertex(0, 0, 0xFF0000), Vertex(2, 4, 0x000000), GRADIENT_FILL_RECT_V);
    EXPECT_EQ(At(s, 0, 0), 0xFF0000u);
    EXPECT_EQ(At(s, 1, 1), 0xBF0000u);  // 0xFF00 * 3 / 4 = 48960 -> 191
    EXPECT_EQ(At(s, 0, 2), 0x7F0000u);  // 32640 -> 127
    EXPECT_EQ(At(s, 1, 3), 0x3F0000u);  // 16320 -> 63
}

TEST(GradientFill, ClippedAreaKeepsItsPositions) {
    // Area x in [-2, 6): surface columns 0..3 are positions 2..5 of 8.
    Surface s = Filled(4, 1, 0xFFFFFF);
    DeviceContext dc(s);
    dc.GradientFill(Vertex(-2, 0, 0x000000), Vertex(6, 1, 0x000080), GRADIENT_FILL_RECT_H);
    EXPECT_EQ(At(s, 0, 0), 0x000020u);
    EXPECT_EQ(At(s, 1, 0), 0x000030u);
    EXPECT_EQ(At(s, 2, 0), 0x000040u);
    EXPECT_EQ(At(s, 3, 0), 0x000050u);
}

TEST(GradientFill, EqualColoursAreUniformAndBadInputDrawsNothing) {
    Surface s = Filled(5, 3, 0xFFFFFF);
    DeviceContext dc(s);
    dc.GradientFill(Vertex(0, 0, 0x808080), Vertex(5, 3, 0x808080), GRADIENT_FILL_RECT_V);
    EXPECT_TRUE(Changed(s, 0x808080).empty());
    Surface t = Filled(5, 3, 0xFFFFFF);
    DeviceContext dt(t);
    EXPECT_FALSE(dt.GradientFill(Vertex(0, 0, 0), Vertex(5, 3, 0), 2));
    EXPECT_TRUE(dt.GradientFill(Vertex(2, 0, 0), Vertex(2, 3, 0), GRADIENT_FILL_RECT_H));
    EXPECT_TRUE(dt.GradientFill(Vertex(-2000000000, 0, 0), Vertex(2000000000, 3, 0xFF),
                                GRADIENT_FILL_RECT_H));
    EXPECT_EQ(At(t, 0, 0), 0x00007Fu);  // the middle of a four-billion-pixel ramp
    EXPECT_TRUE(Changed(t, 0x00007F).empty());
}

}  // namespace
}  // namespace gdi
