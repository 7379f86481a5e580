// BitBlt, StretchBlt index rules, DrawState (normal and disabled) and scaled images.
#include <gtest/gtest.h>

#include <vector>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::At;
using testing::Changed;
using testing::Filled;
using testing::PixelSet;

// A one-row strip whose column i has colour 0x000100 * (i + 1) | i (easy to tell apart).
COLORREF StripColor(int i) {
    return 0x000100u * COLORREF(i + 1) | COLORREF(i);
}

Surface Strip(int n) {
    Surface s(n, 1);
    for (int i = 0; i < n; ++i) s.set(i, 0, ToPixel(StripColor(i)));
    return s;
}

std::vector<COLORREF> StretchRow(int sourceWidth, int destWidth) {
    Surface src = Strip(sourceWidth);
    Surface dst = Filled(destWidth, 1, 0xFFFFFF);
    DeviceContext ds(src), dd(dst);
    EXPECT_TRUE(dd.StretchBlt(0, 0, destWidth, 1, ds, 0, 0, sourceWidth, 1));
    std::vector<COLORREF> row;
    for (int i = 0; i < destWidth; ++i) row.push_back(At(dst, i, 0));
    return row;
}

TEST(StretchBlt, EnlargingIndexTables) {
    const auto c = StripColor;
    EXPECT_EQ(StretchRow(2, 4), (std::vector<COLORREF>{c(0), c(0), c(1), c(1)}));
    EXPECT_EQ(StretchRow(3, 5), (std::vector<COLORREF>{c(0), c(0), c(1), c(2), c(2)}));
    EXPECT_EQ(StretchRow(3, 3), (std::vector<COLORREF>{c(0), c(1), c(2)}));
}

TEST(StretchBlt, ShrinkingAndsThePixelsThatLandTogether) {
    // 5 -> 3 groups {0,1}, {2}, {3,4}.
    Surface src(5, 1);
    const COLORREF colors[] = {0x0000FF, 0x00FFFF, 0x123456, 0xFFFF00, 0x00FFFF};
    for (int i = 0; i < 5; ++i) src.set(i, 0, ToPixel(colors[i]));
    Surface dst = Filled(3, 1, 0xFFFFFF);
    DeviceContext ds(src), dd(dst);
    dd.StretchBlt(0, 0, 3, 1, ds, 0, 0, 5, 1);
    EXPECT_EQ(At(dst, 0, 0), 0x0000FFu);
    EXPECT_EQ(At(dst, 1, 0), 0x123456u);
    EXPECT_EQ(At(dst, 2, 0), 0x00FF00u);
    EXPECT_EQ(PixelAlpha(dst.at(2, 0)), 0xFF);
}

TEST(StretchBlt, ShrinkingBothAxesAndsFourPixels) {
    Surface src = Filled(4, 4, 0xFFFFFF);
    src.set(1, 1, ToPixel(0x0F0F0F));  // lands on (0,0)
    src.set(3, 2, ToPixel(0xF0F0F0));  // lands on (1,1)
    src.set(2, 3, ToPixel(0x3C3C3C));  // lands on (1,1)
    Surface dst = Filled(2, 2, 0);
    DeviceContext ds(src), dd(dst);
    dd.StretchBlt(0, 0, 2, 2, ds, 0, 0, 4, 4);
    EXPECT_EQ(At(dst, 0, 0), 0x0F0F0Fu);
    EXPECT_EQ(At(dst, 1, 0), 0xFFFFFFu);
    EXPECT_EQ(At(dst, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(At(dst, 1, 1), 0x303030u);
}

TEST(StretchBlt, ShrinkingToOnePixelLeavesTheLastSourcePixelOut) {
    // 4 -> 1 on either axis ANDs source pixels 0..2 only: 7F7F7F & FF3F3F & FFFF1F = 7F3F1F (the
    // black last pixel would make it black).
    const COLORREF colors[] = {0x7F7F7F, 0xFF3F3F, 0xFFFF1F, 0x000000};
    Surface row(4, 1), column(1, 4);
    for (int i = 0; i < 4; ++i) {
        row.set(i, 0, ToPixel(colors[i]));
        column.set(0, i, ToPixel(colors[i]));
    }
    Surface dst = Filled(2, 1, 0xFFFFFF);
    DeviceContext dr(row), dcol(column), dd(dst);
    dd.StretchBlt(0, 0, 1, 1, dr, 0, 0, 4, 1);
    dd.StretchBlt(1, 0, 1, 1, dcol, 0, 0, 1, 4);
    EXPECT_EQ(At(dst, 0, 0), 0x7F3F1Fu);
    EXPECT_EQ(At(dst, 1, 0), 0x7F3F1Fu);
}

TEST(StretchBlt, EnlargeOneAxisShrinkTheOtherAndClip) {
    // 2 x 2 -> 4 x 1: columns enlarge (0,0,1,1); shrinking to one row keeps row 0 alone.
    Surface src(2, 2);
    src.set(0, 0, ToPixel(0x00FFFF));
    src.set(0, 1, ToPixel(0x0000FF));
    src.set(1, 0, ToPixel(0xFF00FF));
    src.set(1, 1, ToPixel(0xFFFF00));
    Surface dst = Filled(3, 1, 0xFFFFFF);  // one destination column falls off the edge
    DeviceContext ds(src), dd(dst);
    EXPECT_TRUE(dd.StretchBlt(-1, 0, 4, 1, ds, 0, 0, 2, 2));
    EXPECT_EQ(At(dst, 0, 0), 0x00FFFFu);  // destination index 1
    EXPECT_EQ(At(dst, 1, 0), 0xFF00FFu);  // index 2
    EXPECT_EQ(At(dst, 2, 0), 0xFF00FFu);  // index 3
    EXPECT_FALSE(dd.StretchBlt(0, 0, -4, 1, ds, 0, 0, 2, 2));
}

TEST(StretchBlt, SameSurfaceReadsTheOriginal) {
    Surface s = Strip(4);
    DeviceContext dc(s);
    dc.StretchBlt(0, 0, 4, 1, dc, 0, 0, 2, 1);
    EXPECT_EQ(At(s, 0, 0), StripColor(0));
    EXPECT_EQ(At(s, 1, 0), StripColor(0));
    EXPECT_EQ(At(s, 2, 0), StripColor(1));
    EXPECT_EQ(At(s, 3, 0), StripColor(1));
}

TEST(BitBlt, CopiesClippedToBothSurfaces) {
    Surface src = Strip(4);
    Surface dst = Filled(3, 2, 0xFFFFFF);
    DeviceContext ds(src), dd(dst);
    EXPECT_TRUE(dd.BitBlt(1, 0, 5, 5, ds, 2, 0));  // source columns 2, 3 only
    EXPECT_EQ(Changed(dst, 0xFFFFFF), (PixelSet{{1, 0}, {2, 0}}));
    EXPECT_EQ(At(dst, 1, 0), StripColor(2));
    EXPECT_EQ(At(dst, 2, 0), StripColor(3));
    EXPECT_TRUE(dd.BitBlt(0, 0, 2, 1, ds, -1, 0));  // source column -1 is outside: skipped
    EXPECT_EQ(At(dst, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(At(dst, 1, 0), StripColor(0));
    EXPECT_FALSE(dd.BitBlt(0, 0, -1, 1, ds, 0, 0));
}

TEST(BitBlt, OverlappingCopyOnOneSurface) {
    Surface s = Strip(5);
    DeviceContext dc(s);
    dc.BitBlt(1, 0, 4, 1, dc, 0, 0);
    EXPECT_EQ(At(s, 0, 0), StripColor(0));
    EXPECT_EQ(At(s, 1, 0), StripColor(0));
    EXPECT_EQ(At(s, 4, 0), StripColor(3));
}

// A 3 x 3 image: one black ink pixel at (1,1); white and transparent pixels are not ink.
Surface OneInkPixel() {
    Surface img = Filled(3, 3, 0xFFFFFF);
    img.set(1, 1, ToPixel(0x000000));
    img.set(0, 0, 0x00000000u);              // transparent black
    img.set(2, 0, ToPixel(0x202020, 0x10));  // nearly transparent
    return img;
}

TEST(DrawState, DisabledOnePixelInkImage) {
    ResetSysColors();
    Surface s = Filled(8, 8, 0x00FF00);
    DeviceContext dc(s);
    EXPECT_TRUE(dc.DrawState(OneInkPixel(), 2, 2, 0, 0, DST_ICON | DSS_DISABLED));
    EXPECT_EQ(Changed(s, 0x00FF00), (PixelSet{{3, 3}, {4, 4}}));
    EXPECT_EQ(At(s, 3, 3), 0x808080u);  // shadow in place
    EXPECT_EQ(At(s, 4, 4), 0xFFFFFFu);  // highlight one down and right
}

TEST(DrawState, DisabledShadowCoversHighlight) {
    Surface img = Filled(2, 2, 0xFFFFFF);
    img.set(0, 0, ToPixel(0x0000FF));
    img.set(1, 1, ToPixel(0x0000FF));
    Surface s = Filled(5, 5, 0x00FF00);
    DeviceContext dc(s);
    dc.DrawState(img, 0, 0, 0, 0, DST_BITMAP | DSS_DISABLED);
    EXPECT_EQ(Changed(s, 0x00FF00), (PixelSet{{0, 0}, {1, 1}, {2, 2}}));
    EXPECT_EQ(At(s, 1, 1), 0x808080u);
    EXPECT_EQ(At(s, 2, 2), 0xFFFFFFu);
}

TEST(DrawState, DisabledAtAGivenSizeAndWithADesktopPalette) {
    SysColorTable t = ClassicSysColors();
    t[COLOR_BTNHIGHLIGHT] = 0x0000FF;
    t[COLOR_BTNSHADOW] = 0xFF0000;
    SetSysColorTable(t);
    Surface img = Filled(1, 1, 0x000000);
    Surface s = Filled(6, 6, 0x00FF00);
    DeviceContext dc(s);
    dc.DrawState(img, 1, 1, 2, 2, DST_ICON | DSS_DISABLED);
    ResetSysColors();
    EXPECT_EQ(Changed(s, 0x00FF00),
              (PixelSet{{1, 1}, {2, 1}, {1, 2}, {2, 2}, {3, 2}, {2, 3}, {3, 3}}));
    EXPECT_EQ(At(s, 2, 2), 0xFF0000u);
    EXPECT_EQ(At(s, 3, 3), 0x0000FFu);
    EXPECT_EQ(At(s, 3, 2), 0x0000FFu);
}

TEST(DrawState, NormalBlendsByAlphaAndBadFlagsAreRefused) {
    Surface img(2, 1);
    img.set(0, 0, ToPixel(0xFFFFFF, 0x80));
    img.set(1, 0, 0x00FFFFFFu);  // transparent
    Surface s = Filled(3, 1, 0x000000);
    DeviceContext dc(s);
    EXPECT_TRUE(dc.DrawState(img, 0, 0, 0, 0, DST_ICON));
    EXPECT_EQ(At(s, 0, 0), 0x808080u);  // (255 * 128 + 127) / 255
    EXPECT_EQ(At(s, 1, 0), 0x000000u);
    EXPECT_FALSE(dc.DrawState(img, 0, 0, 0, 0, 0x0001));
    EXPECT_FALSE(dc.DrawState(img, 0, 0, 0, 0, DST_ICON | 0x0100));
    EXPECT_FALSE(dc.DrawState(img, 0, 0, -1, 0, DST_ICON));
}

TEST(DrawImage, ScalesByTheEnlargingRule) {
    Surface img = Strip(3);
    Surface s = Filled(5, 2, 0xFFFFFF);
    DeviceContext dc(s);
    EXPECT_TRUE(dc.DrawImage(img, 0, 0, 5, 2));
    const COLORREF expected[] = {StripColor(0), StripColor(0), StripColor(1), StripColor(2),
                                 StripColor(2)};
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(At(s, x, 0), expected[x]);
        EXPECT_EQ(At(s, x, 1), expected[x]);
    }
}

}  // namespace
}  // namespace gdi
