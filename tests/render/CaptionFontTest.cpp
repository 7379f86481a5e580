// The caption font: its description, its rotation for drawing and its single life per redraw.
#include <locale>
#include <string>

#include "RenderFixture.hpp"
#include "button/render/CaptionFontDescription.hpp"

namespace tarvex::render_test {
namespace {

using CaptionFontTest = RenderTest;

TEST_F(CaptionFontTest, BoldItalicStyleTravelsInTheFaceName) {
    FontRef arial = FontObject::Create("Arial", 120000);
    arial->SetBold(true);
    arial->SetItalic(true);
    const gdi::LOGFONT lf = CaptionFontDescription(arial.get(), 15, 0);
    EXPECT_EQ(lf.FaceName(), "Arial Bold Italic");
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, 0);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfEscapement, 0);
}

// A decimal comma as the user's separator must not turn 8.25 pt into 8 pt.
struct CommaDecimal : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
};

TEST_F(CaptionFontTest, HeightIsTheSameInEveryLocale) {
    const std::locale previous =
        std::locale::global(std::locale(std::locale::classic(), new CommaDecimal));
    EXPECT_EQ(CaptionFontHeight(82500, 15), -11);  // 8.25 pt = 11 px
    EXPECT_EQ(CaptionFontHeight(90000, 15), -12);
    EXPECT_EQ(CaptionFontHeight(93750, 15), -13);  // 12.5 px rounds away from zero
    EXPECT_EQ(CaptionFontHeight(82500, 12), -14);  // 13.75 px at 120 dpi
    EXPECT_EQ(CaptionFontHeight(82500, 0), -11);   // no screen answer: 96 dpi
    std::locale::global(previous);
}

TEST_F(CaptionFontTest, LongFaceNameKeepsItsTerminatingZero) {
    FontRef font = FontObject::Create(std::string(28, 'N'));
    font->SetBold(true);
    const gdi::LOGFONT lf = CaptionFontDescription(font.get(), 15, 0);
    EXPECT_EQ(lf.FaceName(), std::string(28, 'N') + " Bo");
    EXPECT_EQ(lf.lfFaceName[gdi::LF_FACESIZE - 1], '\0');
}

TEST_F(CaptionFontTest, VerticalCaptionIsMeasuredUprightAndDrawnRotated) {
    for (auto [orientation, escapement] : {std::pair{1, 900}, std::pair{2, 2700}}) {
        TarvexButton& b = Make(8, 25, 81);
        SetCaption("Change");
        b.mCaptionOrientation = orientation;
        b.CreateCaptionFont(kTrue);
        ASSERT_TRUE(b.mCaptionFont);
        EXPECT_EQ(b.mCaptionFont->description().lfEscapement, escapement);
        EXPECT_EQ(b.mCaptionFont->description().lfQuality, gdi::NONANTIALIASED_QUALITY);
        EXPECT_EQ(b.hDC().CurrentFont(), *b.mCaptionFont);
        EXPECT_EQ(b.mCaptionLines[0].Width, 34);  // measured along the text, not across
        b.ReleaseCaptionFont();
    }
}

TEST_F(CaptionFontTest, OnlyOneCaptionFontLivesAndTheOriginalFontComesBack) {
    TarvexButton& b = Make(8);
    SetCaption("Change");
    const gdi::Font original = b.hDC().CurrentFont();
    const std::int64_t fonts = gdi::Font::LiveCount();
    b.CreateCaptionFont(kTrue);
    const std::int64_t withOne = gdi::Font::LiveCount();
    b.CreateCaptionFont(kFalse);
    EXPECT_EQ(gdi::Font::LiveCount(), withOne);
    ASSERT_TRUE(b.mOldFont);
    EXPECT_EQ(*b.mOldFont, original);
    b.ReleaseCaptionFont();
    EXPECT_FALSE(b.mCaptionFont);
    EXPECT_EQ(b.hDC().CurrentFont(), original);
    EXPECT_EQ(gdi::Font::LiveCount(), fonts);
}

TEST_F(CaptionFontTest, OutlineFontsNeverWarnAboutVerticalDrawing) {
    TarvexButton& b = Make(8, 25, 81);
    SetCaption("Change");
    host.userMode = false;
    b.CreateCaptionFont(kFalse);
    b.mCaptionOrientation = 1;
    b.CreateCaptionFont(kFalse);
    b.ReleaseCaptionFont();
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(CaptionFontTest, GraphicsModeIsHandedToTheSurface) {
    TarvexButton& b = Make(8);
    b.mGraphicsMode = gdi::GM_ADVANCED;
    b.CreateCaptionFont(kFalse);
    EXPECT_EQ(b.hDC().GetGraphicsMode(), gdi::GM_ADVANCED);
    b.ReleaseCaptionFont();
}

}  // namespace
}  // namespace tarvex::render_test
