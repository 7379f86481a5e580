// Colour shifting with channel text.
#include <algorithm>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

std::int32_t ClampChannel(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, 255));
}

}  // namespace

// Moves every channel by `amount`; with the proportional-blue flag, blue moves in proportion to
// its own level instead.
OleColor TarvexButton::ShiftColor(OleColor colour, std::int32_t amount, bool proportionalBlue) {
    const auto bits = static_cast<std::uint32_t>(colour);
    const std::int64_t red = bits & 0xFF;
    const std::int64_t green = (bits >> 8) & 0xFF;
    const std::int64_t blue = (bits >> 16) & 0xFF;

    const std::int32_t r = ClampChannel(red + amount);
    const std::int32_t g = ClampChannel(green + amount);
    const std::int32_t b =
        ClampChannel(proportionalBlue ? blue + (blue * amount) / 192 : blue + amount);
    return r + 256 * g + 65536 * b;
}

// The same shift, with the channels also written as text "RRRGGGBBB" in decimal.
OleColor TarvexButton::ShiftColor(OleColor colour, std::int32_t amount, bool proportionalBlue,
                                  std::string& channelText) {
    const OleColor shifted = ShiftColor(colour, amount, proportionalBlue);
    const auto bits = static_cast<std::uint32_t>(shifted);
    channelText.resize(9);
    for (int channel = 0; channel < 3; ++channel) {
        const std::uint32_t v = (bits >> (8 * channel)) & 0xFF;
        channelText[3 * channel] = char('0' + v / 100);
        channelText[3 * channel + 1] = char('0' + v / 10 % 10);
        channelText[3 * channel + 2] = char('0' + v % 10);
    }
    return shifted;
}

}  // namespace tarvex
