// The gallery's catalogue (looks, states, colour schemes) and its labelled contact sheet.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "button/Types.hpp"
#include "tools/render/ButtonRender.hpp"

namespace tarvex::gallery {

struct Look {
    std::int32_t buttonType;
    const char* name;  // also the file-name stem, spaces as dashes
};

struct State {
    headless::VisualState state;
    const char* name;
};

struct Scheme {
    std::int32_t colorScheme;
    const char* name;
};

const std::vector<Look>& Looks();
const std::vector<State>& States();
const std::vector<Scheme>& Schemes();

struct Settings {
    std::int32_t width = 96;
    std::int32_t height = 28;
    std::string caption = "Change";
    std::string font = "Times New Roman:8.25";
    PictureRef icon;  // none: no icon
};

// One button of the gallery, painted off-screen.
headless::RgbaImage RenderCell(const Settings& settings, const Look& look, const State& state,
                               const Scheme& scheme);

// "shaded_pressed_gradient.png"
std::string CellFileName(const Look& look, const State& state, const Scheme& scheme);

// All cells side by side: one block per colour scheme, a row per look, a column per state, with
// the labels drawn by the device-context layer's text calls. `cells` is indexed
// [scheme][look][state].
headless::RgbaImage Sheet(const std::vector<std::vector<std::vector<headless::RgbaImage>>>& cells,
                          std::int32_t cellWidth, std::int32_t cellHeight);

// An RGBA PNG as an icon picture (transparent where the image is).
PictureRef IconFromPng(const std::filesystem::path& file);

}  // namespace tarvex::gallery
