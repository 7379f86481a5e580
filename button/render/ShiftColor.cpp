// Colour shifting with channel text.
#include <algorithm>
#include <cstdio>

#include "button/TarvexButton.hpp"

namespace tarvex {

namespace {

std::int32_t ClampChannel(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, 0, 255));
}

}  // namespace

// Moves every channel by `amount`; with the proportional-blue flag, blue moves in proportion to
// its own level instead. The channel text is "RRRGGGBBB" in decimal.
OleColor TarvexButton::ShiftColor(OleColor colour, std::int32_t amount, bool proportionalBlue,
                                  std::string& channelText) {
    const auto bits = static_cast<std::uint32_t>(colour);
    const std::int64_t red = bits & 0xFF;
    const std::int64_t green = (bits >> 8) & 0xFF;
    const std::int64_t blue = (bits >> 16) & 0xFF;

    const std::int32_t r = ClampChannel(red + amount);
    const std::int32_t g = ClampChannel(green + amount);
    const std::int32_t b =
        ClampChannel(proportionalBlue ? blue + (blue * amount) / 192 : blue + amount);

    char text[16];
    std::snprintf(text, sizeof text, "%03d%03d%03d", r, g, b);
    channelText = text;
    return r + 256 * g + 65536 * b;
}

}  // namespace tarvex
