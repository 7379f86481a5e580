// A button on the in-memory host with a palette of five distinct greys, so that every pixel a
// look paints names the palette member it came from. Captions draw with 1-bit glyphs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "button/TarvexButton.hpp"
#include "button/render/RenderOptions.hpp"
#include "gdi/gdi.hpp"
#include "support/TestHost.hpp"

namespace tarvex::render_test {

constexpr gdi::COLORREF kFace = 0xC0C0C0;
constexpr gdi::COLORREF kLight = 0xE0E0E0;
constexpr gdi::COLORREF kHighlight = 0xFFFFFF;
constexpr gdi::COLORREF kShadow = 0x808080;
constexpr gdi::COLORREF kDarkShadow = 0x101010;
constexpr gdi::COLORREF kText = 0x000080;
constexpr gdi::COLORREF kHoverText = 0x008000;
constexpr gdi::COLORREF kWhite = 0xFFFFFF;

class RenderTest : public ::testing::Test {
  protected:
    RenderTest() {
        gdi::ResetSysColors();
        SetCaptionFontQuality(gdi::NONANTIALIASED_QUALITY);
    }
    ~RenderTest() override { SetCaptionFontQuality(gdi::DEFAULT_QUALITY); }

    // A run-mode button without caption, focus cue or icon, its back buffer sized.
    TarvexButton& Make(std::int32_t buttonType, std::int32_t width = 81, std::int32_t height = 25) {
        host.scaleWidth = width;
        host.scaleHeight = height;
        host.userMode = true;
        button = std::make_unique<TarvexButton>(host);
        TarvexButton& b = *button;
        b.mButtonType = buttonType;
        b.mColorScheme = 1;
        b.mEnabled = kTrue;
        b.mShowFocus = kFalse;
        b.mIconSize = 2;
        b.mAlignment = 1;
        b.mFaceColor = OleColor(kFace);
        b.mLightColor = OleColor(kLight);
        b.mHighlightColor = OleColor(kHighlight);
        b.mShadowColor = OleColor(kShadow);
        b.mDarkShadowColor = OleColor(kDarkShadow);
        b.mTextColor = OleColor(kText);
        b.mHoverTextColor = OleColor(kHoverText);
        b.SyncBackBufferSize();
        return b;
    }

    // The caption in Times New Roman 8.25 pt (Liberation Serif at 11 pixels per em).
    void SetCaption(const std::string& caption) {
        button->AttachTextFont(FontObject::Create("Times New Roman", 82500));
        button->mCaption = caption;
        button->FindAccessKey();
    }

    void PaintWhite() {
        button->DrawRect(0, 0, button->ScaleWidth(), button->ScaleHeight(), OleColor(kWhite),
                         false);
    }

    gdi::COLORREF Pixel(std::int32_t x, std::int32_t y) const {
        return gdi::FromPixel(button->BackBuffer().at(x, y));
    }

    // Bounding box of the pixels of one colour inside [l, r) x [t, b); all -1 when none.
    struct Box {
        std::int32_t left = -1, top = -1, right = -1, bottom = -1;
        bool empty() const { return left < 0; }
    };
    Box InkOf(gdi::COLORREF colour) const {
        Box box;
        const gdi::Surface& s = button->BackBuffer();
        for (std::int32_t y = 0; y < s.height(); ++y) {
            for (std::int32_t x = 0; x < s.width(); ++x) {
                if (gdi::FromPixel(s.at(x, y)) != colour) continue;
                if (box.empty()) box = {x, y, x + 1, y + 1};
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1);
                box.bottom = std::max(box.bottom, y + 1);
            }
        }
        return box;
    }

    tarvex::testing::TestHost host;
    std::unique_ptr<TarvexButton> button;
};

}  // namespace tarvex::render_test
