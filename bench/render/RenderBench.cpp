// Redraw and caption-layout costs of the main window's soft-frame button ("Change", Times New
// Roman 8.25 pt, 81 x 25), against one FillRect of the whole surface.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "button/TarvexButton.hpp"
#include "tools/render/ButtonRender.hpp"
#include "tools/render/HeadlessHost.hpp"

namespace {

using tarvex::TarvexButton;
using tarvex::headless::HeadlessHost;

void BM_FillRectWholeSurface(benchmark::State& state) {
    gdi::Surface surface(81, 25);
    gdi::DeviceContext dc(surface);
    const gdi::Brush brush = gdi::Brush::Solid(0xC0C0C0);
    for (auto _ : state) {
        dc.FillRect({0, 0, 81, 25}, brush);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FillRectWholeSurface);

struct ShownButton {
    explicit ShownButton(std::int32_t width, std::int32_t height, const std::string& caption)
        : host(width, height), button(host) {
        button.ReadProperties(tarvex::headless::PropertiesFromAssignments(
            {"BTYPE=8", "FONT=Times New Roman:8.25", "TX=" + caption}));
        button.Show();
    }
    HeadlessHost host;
    TarvexButton button;
};

// Arguments: the visual state (0 normal, 2 pressed, 3 focused, 4 hover, 5 disabled) and whether
// the caption font is rebuilt and the caption laid out on every redraw (after a caption change).
void BM_RefreshSoftFrame(benchmark::State& state) {
    ShownButton shown(81, 25, "Change");
    TarvexButton& b = shown.button;
    const auto visual = std::int32_t(state.range(0));
    if (visual == 5) {
        b.mEnabled = tarvex::kFalse;
    } else {
        b.mButtonState = visual;
        b.mHasFocus = tarvex::ToVBool(visual == tarvex::kStateFocused);
        b.mHovering = tarvex::ToVBool(visual == tarvex::kStateHover);
    }
    b.mFontDirty = tarvex::ToVBool(state.range(1) != 0);
    for (int i = 0; i < 10; ++i) b.RefreshButton();  // warm glyph and font caches
    for (auto _ : state) {
        b.RefreshButton();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_RefreshSoftFrame)
    ->ArgNames({"state", "fontDirty"})
    ->Args({0, 0})
    ->Args({2, 0})
    ->Args({3, 0})
    ->Args({4, 0})
    ->Args({5, 0})
    ->Args({0, 1});

std::string CaptionOfLength(std::size_t length) {
    std::string caption;
    while (caption.size() < length) caption += "Change ";
    caption.resize(length);
    return caption;
}

// Arguments: caption length and the button's side (81 x 25, or 400 x 400).
void BM_LayoutCaption(benchmark::State& state) {
    const auto length = std::size_t(state.range(0));
    const bool large = state.range(1) != 0;
    ShownButton shown(large ? 400 : 81, large ? 400 : 25, CaptionOfLength(length));
    TarvexButton& b = shown.button;
    b.CreateCaptionFont(tarvex::kFalse);  // measured with the caption font, as in a redraw
    b.LayoutCaption();
    for (auto _ : state) {
        b.LayoutCaption();
        benchmark::DoNotOptimize(b.mCaptionLines.data());
    }
    state.counters["lines"] = double(b.mCaptionLines.size());
    b.ReleaseCaptionFont();
}
BENCHMARK(BM_LayoutCaption)
    ->ArgNames({"chars", "large"})
    ->ArgsProduct({{10, 1000, 32767}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
