// Caption layout in Times New Roman 8.25 pt, which the layer draws with Liberation Serif at 11
// pixels per em: "Change" measures 34 pixels (7,6,5,6,5,5), lines are 12 pixels high.
#include <algorithm>
#include <chrono>
#include <random>
#include <string>

#include "RenderFixture.hpp"

namespace tarvex::render_test {
namespace {

class CaptionLayoutTest : public RenderTest {
  protected:
    TarvexButton& Lay(const std::string& caption, int width = 81, int height = 25) {
        TarvexButton& b = Make(8, width, height);
        SetCaption(caption);
        b.LayoutCaption();
        return b;
    }
    std::int32_t Measure(std::u32string_view text) {
        gdi::RECT r{};
        gdi::DeviceContext dc(scratch_);
        gdi::LOGFONT lf;
        lf.lfHeight = -11;
        lf.lfQuality = CaptionFontQuality();
        lf.SetFaceName("Times New Roman");
        dc.SelectObject(gdi::Font::Create(lf));
        dc.DrawText(text, r, gdi::DT_CALCRECT | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
        return r.right;
    }

  private:
    gdi::Surface scratch_{1, 1};
};

TEST_F(CaptionLayoutTest, FontMetricsThatTheseCasesAssume) {
    EXPECT_EQ(Measure(U"Change"), 34);
    EXPECT_EQ(Measure(U"C"), 7);
    EXPECT_EQ(Measure(U"Cha"), 18);
}

TEST_F(CaptionLayoutTest, AccessKeyMarkerAndDoubledAmpersands) {
    TarvexButton& plain = Lay("Save && Exit");
    EXPECT_EQ(plain.mAccessKeyPos, 0);
    EXPECT_TRUE(host.accessKeys.empty());
    EXPECT_EQ(plain.mCaptionLines[0].Text, U"Save & Exit");

    TarvexButton& file = Lay("&File");
    EXPECT_EQ(file.mAccessKeyPos, 1);
    ASSERT_FALSE(host.accessKeys.empty());
    EXPECT_EQ(host.accessKeys.back(), "f");
    EXPECT_EQ(file.mCaptionLines[0].Text, U"File");
    EXPECT_EQ(file.mAccessKeyX, file.mCaptionLines[0].X);  // under the F
    EXPECT_EQ(file.mAccessKeyWidth, Measure(U"F"));

    host.accessKeys.clear();
    TarvexButton& save = Lay("&Save && Exit");
    EXPECT_EQ(save.mAccessKeyPos, 1);
    EXPECT_EQ(host.accessKeys.back(), "s");
    EXPECT_EQ(save.mCaptionLines[0].Text, U"Save & Exit");

    TarvexButton& late = Lay("A && B &Go");  // one pair before the marker
    EXPECT_EQ(late.mAccessKeyPos, 7);
    EXPECT_EQ(host.accessKeys.back(), "g");
    EXPECT_EQ(late.mCaptionLines[0].Text, U"A & B Go");

    TarvexButton& last = Lay("End&");  // a marker in last place registers an empty key
    EXPECT_EQ(last.mAccessKeyPos, 4);
    EXPECT_EQ(host.accessKeys.back(), "");
    EXPECT_EQ(last.mCaptionLines[0].Text, U"End");
}

TEST_F(CaptionLayoutTest, CentredLineRectangleAndUnderline) {
    TarvexButton& b = Lay("Ch&ange");
    ASSERT_EQ(b.mCaptionLines.size(), 1u);
    const CaptionLine& line = b.mCaptionLines[0];
    EXPECT_EQ(line.Text, U"Change");
    EXPECT_EQ(line.Width, 34);
    EXPECT_EQ(line.Height, 12);
    EXPECT_EQ(line.X, 23);  // (81 - 34) / 2
    EXPECT_EQ(line.Y, 6);   // (25 - 12) / 2
    // The 'a' (5 wide) ends 18 pixels into the line; the underline sits below the line.
    EXPECT_EQ(b.mAccessKeyWidth, 5);
    EXPECT_EQ(b.mAccessKeyX, 23 + 18 - 5);
    EXPECT_EQ(b.mAccessKeyY, 18);
    EXPECT_EQ(b.mCaptionRect.left, 20);
    EXPECT_EQ(b.mCaptionRect.top, 3);
    EXPECT_EQ(b.mCaptionRect.right, 58);
    EXPECT_EQ(b.mCaptionRect.bottom, 19);
}

TEST_F(CaptionLayoutTest, FittingCaptionStaysOneLineInATallButton) {
    TarvexButton& b = Lay("Change", 81, 200);
    ASSERT_EQ(b.mCaptionLines.size(), 1u);
    EXPECT_EQ(b.mCaptionLines[0].Y, 94);
}

TEST_F(CaptionLayoutTest, CaptionTallerThanTheButtonIsNotWrapped) {
    TarvexButton& b = Lay("Change Change Change", 81, 10);
    ASSERT_EQ(b.mCaptionLines.size(), 1u);
    EXPECT_EQ(b.mCaptionLines[0].Text, U"Change Change Change");
}

TEST_F(CaptionLayoutTest, LineLimitStillEmitsOneExtraLineAndDropsTheRest) {
    // 20 pixels high: room for one 12-pixel line, available width 81 - 12 = 69.
    ASSERT_GT(Measure(U"Change Change"), 69);
    TarvexButton& b = Lay("Change Change Change", 81, 20);
    ASSERT_EQ(b.mCaptionLines.size(), 2u);
    EXPECT_EQ(b.mCaptionLines[0].Text, U"Change");
    EXPECT_EQ(b.mCaptionLines[1].Text, U"Change");
    EXPECT_EQ(b.mCaptionLines[0].Y, -2);  // (20 - 24) / 2
    EXPECT_EQ(b.mCaptionLines[1].Y, 10);
}

TEST_F(CaptionLayoutTest, WrapsAtSpacesWithinTheLineLimit) {
    TarvexButton& b = Lay("One Two Three Four Five Six", 81, 60);
    ASSERT_GE(b.mCaptionLines.size(), 2u);
    for (const CaptionLine& line : b.mCaptionLines) {
        EXPECT_LE(line.Width, 69) << gdi::Utf32ToUtf8(line.Text);
        EXPECT_EQ(line.Width, Measure(line.Text));
        EXPECT_NE(line.Text.back(), U' ');
    }
    EXPECT_EQ(b.mCaptionLines[0].Text.substr(0, 7), U"One Two");
}

TEST_F(CaptionLayoutTest, FirstWordTooWideIsShortenedWithAnEllipsis) {
    const std::u32string word = U"Internationalization";
    const std::int32_t w = Measure(word);
    ASSERT_GT(w, 69);
    const auto keep = std::int64_t(69.0 / w * double(word.size())) / 2;
    std::u32string expected = word.substr(0, std::size_t(keep));
    if (expected.size() > 4) expected.resize(expected.size() - 3);
    expected += U"...";

    TarvexButton& b = Lay("Internationalization");
    ASSERT_EQ(b.mCaptionLines.size(), 1u);
    EXPECT_EQ(b.mCaptionLines[0].Text, expected);
    EXPECT_EQ(b.mCaptionLines[0].Width, Measure(expected));
}

TEST_F(CaptionLayoutTest, IconWithoutCaptionIsCentredAndShiftedForSegments) {
    const int expectedX[] = {32, 23, 32, 41};  // (81 - 16) / 2, less 9, 0, -9
    for (int style = 0; style <= 3; ++style) {
        TarvexButton& b = Make(2);
        b.mButtonStyle = style;
        b.mIconPresent = kTrue;
        b.mCaptionRect = {1, 2, 3, 4};
        b.LayoutCaption();
        EXPECT_EQ(b.mIconX, expectedX[style]) << "style " << style;
        EXPECT_EQ(b.mIconY, 4);
        ASSERT_EQ(b.mCaptionLines.size(), 1u);
        EXPECT_TRUE(b.mCaptionLines[0].Text.empty());
        EXPECT_EQ(b.mCaptionRect.left, 1);  // untouched
        EXPECT_EQ(b.mCaptionRect.bottom, 4);
    }
}

TEST_F(CaptionLayoutTest, IconGapIsIgnoredWhereTheIconStandsOnTheFarSide) {
    struct Case {
        int alignment;
        int iconAlignment;
        int x;      // of the line
        int iconX;  // of the icon cell
    };
    // Icon 16 pixels, gap 21; "Change" is 34 wide.
    const Case cases[] = {
        {0, 0, 6 + 21, 6},          // left, icon before: the gap makes room
        {0, 1, 6, 6 + 34 + 5},      // left, icon after: no gap
        {2, 0, 81 - (34 + 6), 20},  // right, icon before: no gap
        {2, 1, 81 - (34 + 21 + 6), 20 + 34 + 5},
    };
    for (const Case& c : cases) {
        TarvexButton& b = Make(2);
        SetCaption("Change");
        b.mIconPresent = kTrue;
        b.mAlignment = c.alignment;
        b.mIconAlignment = c.iconAlignment;
        b.LayoutCaption();
        EXPECT_EQ(b.mCaptionLines[0].X, c.x) << c.alignment << "/" << c.iconAlignment;
        EXPECT_EQ(b.mIconX, c.iconX) << c.alignment << "/" << c.iconAlignment;
        EXPECT_EQ(b.mIconY, 4);  // (18 - 6 - 16) / 2 + 6
    }
}

// A stored set is read without the property's range check: a cell of 268435455 x 8 pixels is
// bounded by the button's larger side, and never below the largest settable cell (32), so the
// four settable sizes keep their edge on a button smaller than the icon.
TEST_F(CaptionLayoutTest, StoredIconSizeFarOutOfRangeIsBoundedByTheButton) {
    struct Case {
        int width;
        int iconSize;
        int cell;
    };
    const Case cases[] = {{81, 268435455, 81}, {0, 268435455, 32}, {20, 4, 32}, {81, 3, 24}};
    for (const Case& c : cases) {
        TarvexButton& b = Make(2, c.width, 25);
        SetCaption("Change");
        b.mIconPresent = kTrue;
        b.mAlignment = 0;
        b.mIconSize = c.iconSize;
        b.LayoutCaption();
        EXPECT_EQ(b.IconCell(), c.cell) << c.width << "/" << c.iconSize;
        EXPECT_EQ(b.mCaptionLines[0].X, 6 + c.cell + 5) << c.width << "/" << c.iconSize;
        // The caption rectangle starts at the button's width when the line begins beyond it.
        EXPECT_EQ(b.mIconX, std::min(c.width, 6 + c.cell + 5) - c.cell - 5)
            << c.width << "/" << c.iconSize;
        EXPECT_EQ(b.mIconY, (12 - c.cell) / 2 + 6) << c.width << "/" << c.iconSize;
    }
}

TEST_F(CaptionLayoutTest, VerticalCaptionsReadAlongTheHeight) {
    TarvexButton& up = Make(2, 25, 81);
    SetCaption("Change");
    up.mCaptionOrientation = 1;
    up.LayoutCaption();
    EXPECT_EQ(up.mCaptionLines[0].Width, 34);
    EXPECT_EQ(up.mCaptionLines[0].X, 6);   // (25 - 12) / 2
    EXPECT_EQ(up.mCaptionLines[0].Y, 58);  // |81 - (81 - 34) / 2|
    EXPECT_EQ(up.mCaptionRect.left, 3);
    EXPECT_EQ(up.mCaptionRect.top, 21);  // |58 - 34| - 3
    EXPECT_EQ(up.mCaptionRect.right, 19);
    EXPECT_EQ(up.mCaptionRect.bottom, 59);

    TarvexButton& down = Make(2, 25, 81);
    SetCaption("Change");
    down.mCaptionOrientation = 2;
    down.LayoutCaption();
    EXPECT_EQ(down.mCaptionLines[0].X, 19);  // |0 - 25 + 6|
    EXPECT_EQ(down.mCaptionLines[0].Y, 23);  // (81 - 34) / 2
    EXPECT_EQ(down.mCaptionRect.left, 4);
    EXPECT_EQ(down.mCaptionRect.right, 20);
}

TEST_F(CaptionLayoutTest, EmptyCaptionWithoutIconKeepsOneEmptyLine) {
    TarvexButton& b = Lay("");
    ASSERT_EQ(b.mCaptionLines.size(), 1u);
    EXPECT_TRUE(b.mCaptionLines[0].Text.empty());
    EXPECT_EQ(b.mCaptionLines[0].Width, 0);
}

TEST_F(CaptionLayoutTest, PrefixWidthsEqualTheOneLineMeasureOfEveryLine) {
    std::mt19937 random(7);
    std::string caption;
    const char* words[] = {"a",  "Change", "W", "lorem", "ipsum", "x", "Internationalization",
                           "&&", "dolor"};
    for (int i = 0; i < 400; ++i) {
        caption += words[random() % std::size(words)];
        caption += (random() % 5 == 0) ? "   " : " ";
    }
    TarvexButton& b = Lay(caption, 150, 2000);
    ASSERT_GT(b.mCaptionLines.size(), 10u);
    for (const CaptionLine& line : b.mCaptionLines) {
        EXPECT_EQ(line.Width, Measure(line.Text)) << gdi::Utf32ToUtf8(line.Text);
    }
}

TEST_F(CaptionLayoutTest, LongestCaptionsLayOutWithTheAccessKeyFarInside) {
    std::string caption;
    while (caption.size() < 32000) caption += "word ";
    caption += "&Key";
    while (caption.size() < 32767) caption += 'x';
    TarvexButton& b = Lay(caption, 400, 32767);
    EXPECT_EQ(b.mAccessKeyPos, 32001);
    EXPECT_GT(b.mCaptionLines.size(), 100u);
    EXPECT_GT(b.mAccessKeyWidth, 0);

    // Narrow, too short and too small buttons lay out without faults.
    for (auto [w, h] : {std::pair{0, 0}, std::pair{1, 1}, std::pair{5, 300}, std::pair{81, 0}}) {
        TarvexButton& tiny = Lay(" " + caption, w, h);
        EXPECT_FALSE(tiny.mCaptionLines.empty());
    }
}

}  // namespace
}  // namespace tarvex::render_test
