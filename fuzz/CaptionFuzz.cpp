// Caption layout and painting. Input: the button's size, the members the layout reads (IconSize
// as any 32-bit number, since a stored set is read without range checks), an icon's size, then
// the caption in UTF-8. The caption is laid out, the icon prepared and the button painted enabled
// and disabled; every line the layout makes holds text of the caption, and nothing fails.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "button/TarvexButton.hpp"
#include "fuzz/FuzzSupport.hpp"
#include "tools/render/HeadlessHost.hpp"

namespace {

const char* const kFaces[] = {"MS Sans Serif", "Times New Roman", "Arial", "Courier New"};

tarvex::PictureRef Icon(std::int32_t side, std::int32_t type) {
    gdi::Surface pixels(side, side);
    for (std::int32_t y = 0; y < side; ++y) {
        for (std::int32_t x = 0; x < side; ++x) {
            pixels.set(x, y, (x + y) % 3 ? 0xFF000000u : 0x00FFFFFFu);
        }
    }
    return std::make_shared<tarvex::Picture>(std::move(pixels), type);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarvex;
    fuzz::InputReader in(data, size);
    const std::int32_t width = in.Byte();
    const std::int32_t height = in.Byte() / 2;
    headless::HeadlessHost host(width, height);
    host.userMode = true;
    TarvexButton button(host);
    button.mButtonType = std::int32_t(in.Pick(10)) - 1;  // -1 and 9 fall back to a default look
    button.mColorScheme = std::int32_t(in.Pick(6));
    button.mEnabled = kTrue;
    button.mShowFocus = in.Pick(2) ? kTrue : kFalse;
    button.mIconSize = in.I32();
    button.mAlignment = std::int32_t(in.Pick(3));
    button.mIconAlignment = std::int32_t(in.Pick(2));
    button.mCaptionOrientation = std::int32_t(in.Pick(3));
    button.mButtonStyle = std::int32_t(in.Pick(4));
    button.mCaptionStyle = std::int32_t(in.Pick(4));
    const std::uint8_t iconSide = in.Pick(65);
    if (iconSide > 0) {
        button.mIcon = Icon(iconSide, in.Pick(2) ? kPicTypeIcon : kPicTypeBitmap);
        button.mIconPresent = kTrue;
    }
    const char* face = kFaces[in.Pick(4)];
    button.AttachTextFont(FontObject::Create(face, 10000 * (1 + in.Pick(40))));
    button.mFontDirty = kTrue;
    button.mCaption = std::string(in.Rest());
    button.FindAccessKey();
    button.BuildPalette(false);

    button.Show();
    FUZZ_CHECK(!button.mCaptionLines.empty());
    for (const CaptionLine& line : button.mCaptionLines) {
        FUZZ_CHECK(line.Width >= 0 && line.Height >= 0);
    }
    button.SetEnabled(kFalse);
    button.RefreshButton();
    return 0;
}
