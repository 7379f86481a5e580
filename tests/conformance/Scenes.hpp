// The scenes both drawing layers render for the conformance comparison: primitives of the
// device-context layer, every look of the button in every state, style and colour scheme at
// several sizes (empty caption), and caption metrics of a set of faces. The same code is built
// into the native test and into the Windows program that dumps what GDI draws.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "gdi/gdi.hpp"

namespace conformance {

struct Scene {
    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::function<void(gdi::Surface&)> paint;  // paints onto a surface of width x height
};

std::vector<Scene> PrimitiveScenes();
std::vector<Scene> LookScenes();

// Renders a scene onto a fresh surface.
gdi::Surface Render(const Scene& scene);

// One line per measured fact, in a fixed order: "face|height|weight|what|values...", where
// `what` is face, height, ascent, descent, pitch-and-family, advances (text|widths...) or measure
// (text|returned height|width|height).
std::vector<std::string> CaptionFacts();

// The dump: scenes as "name width height" followed by the RGB words, little-endian.
void WriteScenes(std::ostream& out, const std::vector<Scene>& scenes);
struct Picture {
    std::string name;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> rgb;  // 0x00RRGGBB
};
std::vector<Picture> ReadScenes(std::istream& in);

}  // namespace conformance
