// Costs of the drawing calls a button repaint makes, on a button-sized surface.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "gdi/gdi.hpp"

namespace {

using namespace gdi;

constexpr int kWidth = 120;
constexpr int kHeight = 40;

LOGFONT Caption() {
    LOGFONT lf;
    lf.lfHeight = -11;
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lf.SetFaceName("Times New Roman");
    return lf;
}

// 200 glyphs of caption-like text.
std::u32string TwoHundredGlyphs() {
    std::u32string text;
    const std::u32string word = U"Change the ";
    while (text.size() < 200) text += word;
    text.resize(200);
    return text;
}

void BM_FillRect(benchmark::State& state) {
    Surface s(kWidth, kHeight);
    DeviceContext dc(s);
    const Brush brush = Brush::Solid(0xC0C0C0);
    for (auto _ : state) {
        dc.FillRect({0, 0, kWidth, kHeight}, brush);
        benchmark::DoNotOptimize(s.bits());
    }
}
BENCHMARK(BM_FillRect);

void BM_FrameRect(benchmark::State& state) {
    Surface s(kWidth, kHeight);
    DeviceContext dc(s);
    const Brush brush = Brush::Solid(0x000000);
    for (auto _ : state) {
        dc.FrameRect({0, 0, kWidth, kHeight}, brush);
        benchmark::DoNotOptimize(s.bits());
    }
}
BENCHMARK(BM_FrameRect);

// The edges of a bevelled look: 25 one-pixel lines in a mix of directions.
void BM_TwentyFiveLines(benchmark::State& state) {
    Surface s(kWidth, kHeight);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Solid(0x808080));
    for (auto _ : state) {
        for (int i = 0; i < 25; ++i) {
            dc.MoveToEx(i, kHeight - 1 - i % 5);
            dc.LineTo(kWidth - 1 - i, i % 7);
        }
        benchmark::DoNotOptimize(s.bits());
    }
}
BENCHMARK(BM_TwentyFiveLines);

void BM_TextOutWarm(benchmark::State& state) {
    Surface s(1600, 20);
    DeviceContext dc(s);
    dc.SelectObject(Font::Create(Caption()));
    dc.SetBkMode(TRANSPARENT);
    const std::u32string text = TwoHundredGlyphs();
    dc.TextOut(0, 0, text);  // fill the cache
    for (auto _ : state) {
        dc.TextOut(0, 0, text);
        benchmark::DoNotOptimize(s.bits());
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_TextOutWarm);

// Every glyph rasterised again: the cache is emptied before each output.
void BM_TextOutCold(benchmark::State& state) {
    Surface s(1600, 20);
    DeviceContext dc(s);
    const Font font = Font::Create(Caption());
    dc.SelectObject(font);
    dc.SetBkMode(TRANSPARENT);
    const std::u32string text = TwoHundredGlyphs();
    for (auto _ : state) {
        font.ClearGlyphCache();
        dc.TextOut(0, 0, text);
        benchmark::DoNotOptimize(s.bits());
    }
    state.SetItemsProcessed(state.iterations() * 200);
}
BENCHMARK(BM_TextOutCold);

// A fresh font per output: face lookup, opening and rasterising.
void BM_TextOutFreshFont(benchmark::State& state) {
    Surface s(1600, 20);
    DeviceContext dc(s);
    dc.SetBkMode(TRANSPARENT);
    const std::u32string text = TwoHundredGlyphs();
    for (auto _ : state) {
        dc.SelectObject(Font::Create(Caption()));
        dc.TextOut(0, 0, text);
        benchmark::DoNotOptimize(s.bits());
    }
}
BENCHMARK(BM_TextOutFreshFont);

void BM_MeasureOneLine(benchmark::State& state) {
    Surface s(1, 1);
    DeviceContext dc(s);
    dc.SelectObject(Font::Create(Caption()));
    for (auto _ : state) {
        RECT r{0, 0, 0, 0};
        benchmark::DoNotOptimize(
            dc.DrawText(U"Change", r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_MeasureOneLine);

void BM_SegmentedRegion(benchmark::State& state) {
    const POINT pts[] = {{0, 0}, {18, 30}, {100, 30}, {82, 0}};
    for (auto _ : state) benchmark::DoNotOptimize(CreatePolygonRgn(pts, WINDING));
}
BENCHMARK(BM_SegmentedRegion);

// A filled polygon on a 16 x 16 surface: the square is the baseline; 1,000 vertices far apart
// must cost about as much per visible row and edge, not per row between the vertices.
void FillPolygon(benchmark::State& state, const std::vector<POINT>& pts) {
    Surface s(16, 16);
    DeviceContext dc(s);
    dc.SelectObject(Pen::Null());
    dc.SelectObject(Brush::Solid(0x00FF00));
    for (auto _ : state) benchmark::DoNotOptimize(dc.Polygon(pts));
}

void BM_FilledSquare(benchmark::State& state) {
    FillPolygon(state, {{2, 2}, {14, 2}, {14, 14}, {2, 14}});
}
BENCHMARK(BM_FilledSquare);

void BM_FilledFarApartVertices(benchmark::State& state) {
    std::vector<POINT> pts;
    for (int i = 0; i < 1000; ++i) pts.push_back({i % 2 ? 60000 : -60000, 60000 - 120 * i});
    FillPolygon(state, pts);
}
BENCHMARK(BM_FilledFarApartVertices);

}  // namespace

BENCHMARK_MAIN();
