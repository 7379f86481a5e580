// Caption font: upright for layout, rotated for drawing, one alive at a time.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <string>

#include "button/TarvexButton.hpp"
#include "button/render/CaptionFontDescription.hpp"
#include "button/render/RenderOptions.hpp"

namespace tarvex {

namespace {

std::atomic<std::uint8_t> gCaptionFontQuality{gdi::DEFAULT_QUALITY};

constexpr std::int32_t kEscapementUp = 900;
constexpr std::int32_t kEscapementDown = 2700;
constexpr std::int32_t kScreenTwipsPerPixel = 15;

// Rounds num / den (den > 0) to the nearest integer, halves away from zero, in exact integers.
std::int64_t RoundedQuotient(std::int64_t num, std::int64_t den) {
    const std::int64_t half = den / 2;
    return num >= 0 ? (num + half) / den : -((-num + half) / den);
}

}  // namespace

void SetCaptionFontQuality(std::uint8_t quality) {
    gCaptionFontQuality.store(quality);
}
std::uint8_t CaptionFontQuality() {
    return gCaptionFontQuality.load();
}

std::string CaptionFaceName(const FontObject& font) {
    std::string name = font.Name();
    if (font.Bold()) name += " Bold";
    if (font.Italic()) name += " Italic";
    // The record's field must keep its terminating zero, so the name loses its end instead.
    if (name.size() > gdi::LF_FACESIZE - 1) name.resize(gdi::LF_FACESIZE - 1);
    return name;
}

std::int32_t CaptionFontHeight(std::int64_t sizeTenThousandths, double twipsPerPixelY) {
    // Points to pixels without any text round trip: 8.25 pt stays 8.25 pt in every locale. Whole
    // twips per pixel divide exactly in integers; a fraction (7.5 at 192 dpi) is taken in
    // sixteenths of a twip, exact at the scales 1, 1.25, 1.5, 2, 2.5, 3 and 4.
    constexpr std::int64_t kSixteenths = 16;
    constexpr double kMostTwipsPerPixel = 1440.0;  // one dot per inch
    const double tpp = twipsPerPixelY > 0 ? std::min(twipsPerPixelY, kMostTwipsPerPixel)
                                          : double(kScreenTwipsPerPixel);
    const std::int64_t sixteenths = std::max<std::int64_t>(1, std::llround(tpp * kSixteenths));
    const std::int64_t pixels =
        RoundedQuotient(sizeTenThousandths * 20 * kSixteenths, 10000 * sixteenths);
    return std::int32_t(-pixels);
}

gdi::LOGFONT CaptionFontDescription(const FontObject* fontObject, double twipsPerPixelY,
                                    std::int32_t escapement) {
    static const FontRef kDefaultFont = FontObject::Create();
    const FontObject& font = fontObject ? *fontObject : *kDefaultFont;
    gdi::LOGFONT lf;
    lf.lfHeight = CaptionFontHeight(font.SizeTenThousandths(), twipsPerPixelY);
    lf.lfEscapement = escapement;
    lf.lfUnderline = font.Underline() ? 1 : 0;
    lf.lfStrikeOut = font.Strikethrough() ? 1 : 0;
    lf.lfQuality = CaptionFontQuality();
    lf.SetFaceName(CaptionFaceName(font));
    return lf;
}

namespace {

std::int32_t DrawingEscapement(std::int32_t orientation) {
    return orientation == 1 ? kEscapementUp : kEscapementDown;
}

}  // namespace

void TarvexButton::CreateCaptionFont(const VBool& layoutRequested) {
    gdi::DeviceContext& dc = hDC();
    dc.SetGraphicsMode(mGraphicsMode);

    gdi::LOGFONT lf = CaptionFontDescription(TextFont.get(), host_.ExactTwipsPerPixelY(), 0);
    ReleaseCaptionFont();
    mCaptionFont = gdi::Font::Create(lf);
    mOldFont = dc.SelectObject(*mCaptionFont);

    const bool vertical = mCaptionOrientation != 0;
    if (vertical) {
        gdi::TEXTMETRIC tm;
        dc.GetTextMetrics(tm);
        if (tm.tmPitchAndFamily < 4 && !UserMode()) {
            host_.MsgBox("Non-True Type fonts may not draw vertically", vbInformation, "");
        }
    }

    if (layoutRequested == kTrue) LayoutCaption();

    if (vertical) {
        lf.lfEscapement = DrawingEscapement(mCaptionOrientation);
        dc.SelectObject(*mOldFont);
        mCaptionFont = gdi::Font::Create(lf);
        dc.SelectObject(*mCaptionFont);
    }
}

void TarvexButton::ReleaseCaptionFont() {
    if (!mCaptionFont) return;
    if (mOldFont) hDC().SelectObject(*mOldFont);
    mCaptionFont.reset();
    mOldFont.reset();
}

}  // namespace tarvex
