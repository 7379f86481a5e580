// Fonts and text: face resolution, metrics, measuring, output cells at every escapement.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>

#include "tests/gdi/pixels.hpp"

namespace gdi {
namespace {

using testing::At;
using testing::Changed;
using testing::Filled;
using testing::PixelSet;

constexpr COLORREF kWhite = 0xFFFFFF;
constexpr COLORREF kInk = 0x000000;

Font MakeFont(std::string_view face, int height, int escapement = 0,
              std::uint8_t quality = NONANTIALIASED_QUALITY) {
    LOGFONT lf;
    lf.lfHeight = height;
    lf.lfEscapement = escapement;
    lf.lfQuality = quality;
    lf.SetFaceName(face);
    return Font::Create(lf);
}

// Times New Roman 8.25 pt at 96 dpi.
Font Caption(int escapement = 0) {
    return MakeFont("Times New Roman", -11, escapement);
}

struct Bounds {
    int x0 = std::numeric_limits<int>::max(), y0 = std::numeric_limits<int>::max();
    int x1 = std::numeric_limits<int>::min(), y1 = std::numeric_limits<int>::min();
};

Bounds BoundsOf(const PixelSet& pixels) {
    Bounds b;
    for (auto [x, y] : pixels) {
        b.x0 = std::min(b.x0, x), b.y0 = std::min(b.y0, y);
        b.x1 = std::max(b.x1, x + 1), b.y1 = std::max(b.y1, y + 1);
    }
    return b;
}

PixelSet Draw(const Font& font, int x, int y, std::u32string_view text, int w = 60, int h = 60) {
    Surface s = Filled(w, h, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(kInk);
    dc.TextOut(x, y, text);
    return Changed(s, kWhite);
}

TEST(Fonts, WindowsNamesResolveToMetricCompatibleFaces) {
    EXPECT_EQ(Caption().ResolvedFamily(), "Liberation Serif");
    EXPECT_EQ(MakeFont("Arial", -11).ResolvedFamily(), "Liberation Sans");
    EXPECT_EQ(MakeFont("Courier New", -11).ResolvedFamily(), "Liberation Mono");
    EXPECT_EQ(MakeFont("MS Sans Serif", -11).ResolvedFamily(), "DejaVu Sans");
}

TEST(Fonts, StyleWordsAreStrippedAndAskedForAsStyles) {
    const std::string bold = MakeFont("Times New Roman Bold", -11).ResolvedFile();
    EXPECT_NE(bold.find("LiberationSerif-Bold."), std::string::npos) << bold;
    const std::string both = MakeFont("Arial Bold Italic", -16).ResolvedFile();
    EXPECT_NE(both.find("LiberationSans-BoldItalic."), std::string::npos) << both;
    const std::string italic = MakeFont("Arial Italic", -16).ResolvedFile();
    EXPECT_NE(italic.find("LiberationSans-Italic."), std::string::npos) << italic;
}

TEST(Fonts, MissingOrUnterminatedNamesFallBackToTheDefaultFace) {
    const Font missing = MakeFont("No Such Face At All", -11);
    EXPECT_EQ(missing.ResolvedFamily(), "DejaVu Sans");
    EXPECT_GT(missing.Metrics().tmHeight, 0);
    EXPECT_FALSE(missing.ResolvedFile().empty());

    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfFaceName.fill('A');  // no terminating zero anywhere
    EXPECT_EQ(lf.FaceName(), std::string(LF_FACESIZE - 1, 'A'));
    const Font font = Font::Create(lf);
    EXPECT_EQ(font.description().FaceName(), std::string(LF_FACESIZE - 1, 'A'));
    EXPECT_GT(font.Metrics().tmHeight, 0);

    LOGFONT named;
    named.SetFaceName(std::string(40, 'B'));
    EXPECT_EQ(named.FaceName().size(), LF_FACESIZE - 1);
    EXPECT_EQ(named.lfFaceName[LF_FACESIZE - 1], '\0');
}

// A face whose only file is upright and regular gets bold and italic simulated. At 24 pixels
// per em the emboldening strength is ppem / 24 = one whole pixel, added to every advance; the
// slant is a shear of about 0.21, so a stem leans 2 columns over 11 rows while its advances stay.
TEST(Fonts, MissingBoldOrItalicStyleIsSimulated) {
    const Font regular = MakeFont("DejaVu Math TeX Gyre", -24);
    if (regular.ResolvedFile().find("DejaVuMathTeXGyre.") == std::string::npos) {
        GTEST_SKIP() << "needs the upright-only DejaVu Math TeX Gyre face (fonts-dejavu-extra)";
    }
    const Font bold = MakeFont("DejaVu Math TeX Gyre Bold", -24);
    EXPECT_EQ(bold.ResolvedFile(), regular.ResolvedFile());
    EXPECT_EQ(bold.Metrics().tmWeight, 700);
    const std::vector<std::int32_t> upright = regular.Advances(U"Change");
    std::vector<std::int32_t> wider = upright;
    for (std::int32_t& advance : wider) ++advance;
    EXPECT_EQ(bold.Advances(U"Change"), wider);
    RECT measured{0, 0, 0, 0};
    Surface s(1, 1);
    DeviceContext dc(s);
    dc.SelectObject(bold);
    dc.DrawText(U"Change", measured, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(measured.right, regular.TextWidth(U"Change") + 6);

    const Font italic = MakeFont("DejaVu Math TeX Gyre Italic", -24);
    EXPECT_EQ(italic.Metrics().tmItalic, 1);
    EXPECT_EQ(italic.Advances(U"Change"), upright);
    // Leftmost ink of "H" near the foot and near the top of its stem.
    auto stemLean = [](const Font& font) {
        const PixelSet ink = Draw(font, 1, 0, U"H", 40, 80);
        const int baseline = font.Metrics().tmAscent;
        auto leftmost = [&](int y) {
            int x = 40;
            for (auto [px, py] : ink) {
                if (py == y) x = std::min(x, px);
            }
            return x;
        };
        return leftmost(baseline - 15) - leftmost(baseline - 4);
    };
    EXPECT_EQ(stemLean(regular), 0);
    EXPECT_GE(stemLean(italic), 2);
}

TEST(TextMetrics, OutlineMetricsFromTheWindowsTable) {
    const TEXTMETRIC tm = Caption().Metrics();
    EXPECT_EQ(tm.tmAscent, 10);
    EXPECT_EQ(tm.tmDescent, 2);
    EXPECT_EQ(tm.tmHeight, 12);
    EXPECT_EQ(tm.tmPitchAndFamily, 0x17);  // proportional outline serif
    EXPECT_EQ(MakeFont("Arial", -11).Metrics().tmPitchAndFamily, 0x27);
    EXPECT_EQ(MakeFont("Courier New", -11).Metrics().tmPitchAndFamily, 0x36);
}

TEST(TextMetrics, PositiveHeightIsTheCellHeight) {
    // 12 * 2048 / (1825 + 443) rounds to 11 pixels per em: the same font as -11.
    EXPECT_EQ(MakeFont("Times New Roman", 12).Metrics().tmHeight, 12);
    EXPECT_EQ(MakeFont("Times New Roman", 12).Advance(U'C'), 7);
}

TEST(TextMetrics, DeviceContextReportsTheSelectedFont) {
    Surface s(1, 1);
    DeviceContext dc(s);
    TEXTMETRIC stock;
    EXPECT_TRUE(dc.GetTextMetrics(stock));
    EXPECT_EQ(stock.tmHeight, 13);
    dc.SelectObject(Caption());
    TEXTMETRIC tm;
    dc.GetTextMetrics(tm);
    EXPECT_EQ(tm.tmHeight, 12);
    EXPECT_EQ(dc.GetTextFace(), "Liberation Serif");
}

TEST(Measure, ChangeIsTheSumOfItsHintedAdvances) {
    const Font font = Caption();
    EXPECT_EQ(font.Advances(U"Change"), (std::vector<std::int32_t>{7, 6, 5, 6, 5, 5}));
    EXPECT_EQ(font.TextWidth(U"Change"), 34);
    EXPECT_EQ(font.TextWidth(U"..."), 9);
    // Smoothing never changes layout.
    EXPECT_EQ(MakeFont("Times New Roman", -11, 0, ANTIALIASED_QUALITY).TextWidth(U"Change"), 34);
}

TEST(Measure, DrawTextCalcRectSingleLine) {
    Surface s(1, 1);
    DeviceContext dc(s);
    dc.SelectObject(Caption());
    RECT r{10, 20, 0, 0};
    EXPECT_EQ(dc.DrawText("Change", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX), 12);
    EXPECT_EQ(r, (RECT{10, 20, 44, 32}));
    RECT e{3, 4, 99, 99};
    EXPECT_EQ(dc.DrawText(U"", e, DT_CALCRECT | DT_SINGLELINE), 12);
    EXPECT_EQ(e, (RECT{3, 4, 3, 16}));
    RECT u{1, 2, 3, 4};
    EXPECT_EQ(dc.DrawText("Change", u, DT_SINGLELINE), 0);  // drawing is not supported
    EXPECT_EQ(dc.DrawText("Change", u, DT_CALCRECT | 0x0001), 0);
    EXPECT_EQ(u, (RECT{1, 2, 3, 4}));
}

TEST(TextOut, UprightCellsAndBaseline) {
    const PixelSet ink = Draw(Caption(), 5, 7, U"Change");
    ASSERT_FALSE(ink.empty());
    const Bounds b = BoundsOf(ink);
    EXPECT_GE(b.x0, 5);
    EXPECT_LE(b.x1, 5 + 34);
    EXPECT_GE(b.y0, 7);
    EXPECT_LE(b.y1, 7 + 12);
    // Only the descender of "g" reaches below the baseline (row 7 + 10).
    const PixelSet chan = Draw(Caption(), 5, 7, U"Chan");
    EXPECT_LE(BoundsOf(chan).y1, 17);
    EXPECT_GT(b.y1, 17);
}

TEST(TextOut, EscapementUpReadsUpwardsFromTheReference) {
    const PixelSet ink = Draw(Caption(900), 20, 50, U"Change");
    ASSERT_FALSE(ink.empty());
    const Bounds b = BoundsOf(ink);
    EXPECT_GE(b.x0, 20);
    EXPECT_LE(b.x1, 20 + 12);
    EXPECT_GE(b.y0, 50 - 34 + 1);
    EXPECT_LE(b.y1, 51);
    // The baseline lies at x = 20 + 10: only the "g" reaches past it.
    EXPECT_LE(BoundsOf(Draw(Caption(900), 20, 50, U"Chan")).x1, 30);
    EXPECT_GT(b.x1, 30);
}

TEST(TextOut, EscapementDownReadsDownwardsFromTheReference) {
    const PixelSet ink = Draw(Caption(2700), 40, 5, U"Change");
    ASSERT_FALSE(ink.empty());
    const Bounds b = BoundsOf(ink);
    EXPECT_GE(b.x0, 40 - 12 + 1);
    EXPECT_LE(b.x1, 41);
    EXPECT_GE(b.y0, 5);
    EXPECT_LE(b.y1, 5 + 34);
    // The baseline lies at x = 40 - 10: only the "g" reaches to its left.
    EXPECT_GE(BoundsOf(Draw(Caption(2700), 40, 5, U"Chan")).x0, 31);
    EXPECT_LT(b.x0, 31);
}

TEST(TextOut, OnlyGlyphPixelsChangeInTheTextColourWhenMonochrome) {
    Surface s = Filled(40, 14, 0x00FF00);
    DeviceContext dc(s);
    dc.SelectObject(Caption());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(0x0000FF);
    dc.TextOut(0, 0, "Change");
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 40; ++x) {
            const COLORREF c = At(s, x, y);
            ASSERT_TRUE(c == 0x00FF00u || c == 0x0000FFu) << x << "," << y;
        }
    }
}

TEST(TextOut, AntialiasedQualityBlendsCoverage) {
    Surface s = Filled(40, 14, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(MakeFont("Times New Roman", -11, 0, ANTIALIASED_QUALITY));
    dc.SetBkMode(TRANSPARENT);
    dc.TextOut(0, 0, "Change");
    bool grey = false;
    for (int y = 0; y < 14; ++y) {
        for (int x = 0; x < 40; ++x) {
            const COLORREF c = At(s, x, y);
            if (c != kWhite && c != kInk) grey = true;
        }
    }
    EXPECT_TRUE(grey);
}

TEST(TextOut, OpaqueBackgroundFillsTheCells) {
    Surface s = Filled(20, 16, kWhite);
    DeviceContext dc(s);
    dc.SelectObject(Caption());
    dc.SetBkColor(0x00FF00);
    const int width = Caption().TextWidth(U"   ");
    dc.TextOut(2, 1, "   ");
    PixelSet cells;
    for (int y = 1; y < 13; ++y) {
        for (int x = 2; x < 2 + width; ++x) cells.insert({x, y});
    }
    EXPECT_EQ(Changed(s, kWhite), cells);
}

Font Decorated(bool underline, bool strikeOut, int escapement = 0) {
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfEscapement = escapement;
    lf.lfUnderline = underline ? 1 : 0;
    lf.lfStrikeOut = strikeOut ? 1 : 0;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.SetFaceName("Times New Roman");
    return Font::Create(lf);
}

// A run of spaces draws nothing but the decoration: one row across the advance width.
TEST(TextOut, UnderlineAndStrikeOutAreOneRowAcrossTheAdvances) {
    const int width = Caption().TextWidth(U"    ");
    const PixelSet under = Draw(Decorated(true, false), 3, 4, U"    ");
    ASSERT_EQ(under.size(), static_cast<std::size_t>(width));
    const Bounds u = BoundsOf(under);
    EXPECT_EQ(u.x0, 3);
    EXPECT_EQ(u.x1, 3 + width);
    EXPECT_EQ(u.y1 - u.y0, 1);
    EXPECT_GE(u.y0, 4 + 10);  // below the baseline, inside the cell
    EXPECT_LT(u.y0, 4 + 12);

    const PixelSet strike = Draw(Decorated(false, true), 3, 4, U"    ");
    ASSERT_EQ(strike.size(), static_cast<std::size_t>(width));
    const Bounds k = BoundsOf(strike);
    EXPECT_GE(k.y0, 4);
    EXPECT_LT(k.y0, 4 + 10);  // above the baseline

    const PixelSet upward = Draw(Decorated(true, false, 900), 10, 40, U"    ");
    const Bounds v = BoundsOf(upward);
    EXPECT_EQ(v.x1 - v.x0, 1);
    EXPECT_EQ(v.x0, u.y0 - 4 + 10);  // the same cell row, turned to a column
    EXPECT_EQ(v.y1, 41);
    EXPECT_EQ(v.y0, 41 - width);
}

TEST(TextOut, FarOffTheSurfaceDrawsNothing) {
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    EXPECT_TRUE(Draw(Caption(), hi - 3, 0, U"Change").empty());
    EXPECT_TRUE(Draw(Caption(900), lo, lo, U"Change").empty());
    EXPECT_TRUE(Draw(Decorated(true, true, 2700), lo + 5, hi, U"Change").empty());
    const PixelSet partly = Draw(Caption(), -10, -3, U"Change", 30, 12);
    EXPECT_FALSE(partly.empty());
}

TEST(Fonts, HugeAndZeroHeightsStayBounded) {
    const Font huge = MakeFont("Arial", std::numeric_limits<int>::min());
    EXPECT_GT(huge.Metrics().tmHeight, 0);
    const Font zero = MakeFont("Arial", 0);
    EXPECT_GT(zero.Metrics().tmHeight, 0);
}

TEST(Fonts, ReleasedWithTheirLastCopyAndCacheClearKeepsAdvances) {
    Font::LiveCount();
    const Font stock;  // the stock font lives for the process
    const auto before = Font::LiveCount();
    {
        const Font a = Caption();
        const Font b = a;
        EXPECT_EQ(a, b);
        EXPECT_EQ(Font::LiveCount(), before + 1);
        EXPECT_EQ(b.TextWidth(U"Change"), 34);
        b.ClearGlyphCache();
        EXPECT_EQ(a.TextWidth(U"Change"), 34);
    }
    EXPECT_EQ(Font::LiveCount(), before);
}

TEST(Utf8, DecodesAndReplacesMalformedInput) {
    EXPECT_EQ(Utf8ToUtf32("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), U"A\u00E9\u20AC\U0001F600");
    EXPECT_EQ(Utf8ToUtf32("\xFFx"), U"\uFFFDx");
    EXPECT_EQ(Utf8ToUtf32("\xC3"), U"\uFFFD");                      // cut short
    EXPECT_EQ(Utf8ToUtf32("\xC0\x80"), U"\uFFFD\uFFFD");            // overlong
    EXPECT_EQ(Utf8ToUtf32("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");  // surrogate
    EXPECT_EQ(Utf32ToUtf8(U"A\u00E9\u20AC\U0001F600"), "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80");
    EXPECT_EQ(Utf32ToUtf8(std::u32string(1, char32_t(0x110000))), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace gdi
