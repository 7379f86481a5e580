// A button on the in-memory host, set up member by member so that a look test controls exactly
// what the renderer reads: no caption, no focus cue unless asked, the classic system colours.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "button/TarvexButton.hpp"
#include "gdi/gdi.hpp"
#include "support/TestHost.hpp"

namespace tarvex::looks_test {

constexpr gdi::COLORREF Grey(std::uint8_t v) {
    return gdi::RGB(v, v, v);
}

class LookTest : public ::testing::Test {
  protected:
    LookTest() { gdi::ResetSysColors(); }

    // A run-mode button of the given look and colour scheme; `face` is the BackColor used by
    // the custom schemes.
    TarvexButton& Make(std::int32_t buttonType, std::int32_t colorScheme, OleColor face = 0xC0C0C0,
                       std::int32_t width = 81, std::int32_t height = 25) {
        host.scaleWidth = width;
        host.scaleHeight = height;
        host.userMode = true;
        button = std::make_unique<TarvexButton>(host);
        TarvexButton& b = *button;
        b.mButtonType = buttonType;
        b.mColorScheme = colorScheme;
        b.mBackColor = face;
        b.mForeColor = 0x000000;
        b.mHoverForeColor = 0x0000FF;
        b.mEnabled = kTrue;
        b.mShowFocus = kFalse;
        b.mFontDirty = kFalse;
        b.mIconSize = 2;
        b.BuildPalette(false);
        b.SyncBackBufferSize();
        return b;
    }

    void Paint() { button->DrawButton(false); }

    gdi::COLORREF Pixel(std::int32_t x, std::int32_t y) const {
        return gdi::FromPixel(button->BackBuffer().at(x, y));
    }

    tarvex::testing::TestHost host;
    std::unique_ptr<TarvexButton> button;
};

}  // namespace tarvex::looks_test
