// The size a button wants to be shown at, for hosts whose windows are laid out by their toolkit:
// room for the whole caption on its lines, the icon beside it, the look's frame and focus cue.
#pragma once

#include <cstdint>

namespace tarvex {

class TarvexButton;

struct PreferredExtent {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

/// In pixels of the drawing surface (device pixels), at the caption font's pixel height for
/// `twipsPerPixelY`. A vertical caption gives a tall extent; each line break adds a line.
PreferredExtent PreferredSize(const TarvexButton& button, double twipsPerPixelY);

}  // namespace tarvex
