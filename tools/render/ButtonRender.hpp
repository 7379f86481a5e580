// Paints one TarvexButton off-screen from a property set, in a chosen state, and turns its back
// buffer into an RGBA image whose window shape shows as transparency.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "button/FormLayout.hpp"
#include "button/PropertyBag.hpp"

namespace tarvex::headless {

enum class VisualState { Normal, Pressed, Focused, Hover, Disabled, SelectedOption };

std::optional<VisualState> ParseVisualState(std::string_view name);

struct RenderRequest {
    PropertyBag properties;
    std::int32_t width = 81;  // pixels at 96 dpi, as the window lays the button out
    std::int32_t height = 25;
    VisualState state = VisualState::Normal;
    // The screen's resolution: the image is width x height times dpi / 96, rounded, drawn in
    // pixels of that screen (caption font of that pixel height, one-pixel lines).
    std::int32_t dpi = 96;
};

// 8-bit RGBA, rows top to bottom.
struct RgbaImage {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;
    std::uint32_t At(std::int32_t x, std::int32_t y) const;  // 0xRRGGBBAA
};

RgbaImage RenderButton(const RenderRequest& request);

// A side of `pixels` at 96 dpi on a screen of `dpi`, rounded to the nearest pixel (halves up), as
// the toolkit rounds a window's backing store.
std::int32_t PixelsAtDpi(std::int32_t pixels, std::int32_t dpi);

// The property set and pixel size of a TarvexButton of a layout: the one named `control`, or the
// first one when `control` is empty. Throws std::invalid_argument when there is none.
RenderRequest RequestFromLayout(const FormLayout& layout, std::string_view control);

// Each pixel becomes a factor x factor block.
RgbaImage Enlarged(const RgbaImage& image, std::int32_t factor);

// "KEY=value" pairs of the saved property set: integers (decimal, 0x or &H hex), true/false,
// FONT=name[:size[:bold][:italic][:underline][:strikethrough]], anything else a string.
// Throws std::invalid_argument for an argument without "=".
PropertyBag PropertiesFromAssignments(const std::vector<std::string>& assignments);

// Throws std::runtime_error naming the file when it cannot be written or read.
void WritePng(const RgbaImage& image, const std::filesystem::path& file);
RgbaImage ReadPng(const std::filesystem::path& file);

}  // namespace tarvex::headless
