// Helpers for exact-pixel tests of the drawing layer.
#pragma once

#include <set>
#include <utility>

#include "gdi/gdi.hpp"

namespace gdi::testing {

using Pixel = std::pair<int, int>;
using PixelSet = std::set<Pixel>;

inline Surface Filled(int width, int height, COLORREF color) {
    Surface s(width, height);
    s.fill(ToPixel(color));
    return s;
}

// Every pixel whose colour differs from `background`.
inline PixelSet Changed(const Surface& s, COLORREF background) {
    PixelSet out;
    for (int y = 0; y < s.height(); ++y) {
        for (int x = 0; x < s.width(); ++x) {
            if (FromPixel(s.at(x, y)) != background) out.insert({x, y});
        }
    }
    return out;
}

inline COLORREF At(const Surface& s, int x, int y) {
    return FromPixel(s.at(x, y));
}

}  // namespace gdi::testing
