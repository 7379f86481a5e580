// The rules of text output that hold whatever the font engine: run against the software layer and,
// in the Windows build, against GDI (the hinted advances and the faces found are the engines' own
// and are tested with the software layer's faces in text_test.cpp).
#include <gtest/gtest.h>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::At;
using testing::Changed;
using testing::Filled;
using testing::PixelSet;

Font Serif(int height, bool underline = false) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.SetFaceName("Liberation Serif");
    return Font::Create(lf);
}

// One-line measuring is the sum of the advances and the cell height; the empty string is no
// width and one line high; text drawn transparently stays inside its cells in the text colour.
TEST(TextRules, MeasuringAddsTheAdvancesAndTextStaysInItsCells) {
    const Font font = Serif(-16);
    const TEXTMETRIC tm = font.Metrics();
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    Surface s = Filled(90, 30, 0x00FF00);
    DeviceContext dc(s);
    dc.SelectObject(font);
    RECT r{4, 6, 0, 0};
    EXPECT_EQ(dc.DrawText("Change", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX), tm.tmHeight);
    EXPECT_EQ(r, (RECT{4, 6, 4 + font.TextWidth(U"Change"), 6 + tm.tmHeight}));
    RECT empty{3, 4, 99, 99};
    EXPECT_EQ(dc.DrawText("", empty, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(empty, (RECT{3, 4, 3, 4 + tm.tmHeight}));

    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0x0000FF);
    dc.TextOut(4, 6, "Change");
    const PixelSet ink = Changed(s, 0x00FF00);
    ASSERT_FALSE(ink.empty());
    for (auto [x, y] : ink) {
        EXPECT_EQ(At(s, x, y), 0x0000FFu) << x << "," << y;
        EXPECT_TRUE(x >= 4 && x < r.right && y >= 6 && y < r.bottom) << x << "," << y;
    }
}

// An opaque background fills exactly the cells; an underline is one row across the advances.
TEST(TextRules, OpaqueCellsAndUnderline) {
    const Font font = Serif(-11);
    const int width = font.TextWidth(U"   ");
    const int height = font.Metrics().tmHeight;
    Surface s = Filled(30, 20, 0xFFFFFF);
    DeviceContext dc(s);
    dc.SelectObject(font);
    dc.SetBkColor(0x00FF00);
    dc.TextOut(2, 1, "   ");
    PixelSet cells;
    for (int y = 1; y < 1 + height; ++y) {
        for (int x = 2; x < 2 + width; ++x) cells.insert({x, y});
    }
    EXPECT_EQ(Changed(s, 0xFFFFFF), cells);

    Surface u = Filled(30, 20, 0xFFFFFF);
    DeviceContext du(u);
    du.SelectObject(Serif(-11, true));
    du.SetBkMode(TRANSPARENT);
    du.TextOut(3, 4, "   ");
    const PixelSet line = Changed(u, 0xFFFFFF);
    ASSERT_EQ(line.size(), std::size_t(width));
    const int row = line.begin()->second;
    for (int x = 3; x < 3 + width; ++x) EXPECT_TRUE(line.count({x, row})) << x;
    EXPECT_GE(row, 4 + font.Metrics().tmAscent);  // below the baseline, inside the cell
    EXPECT_LT(row, 4 + height);
}

}  // namespace
}  // namespace gdi
