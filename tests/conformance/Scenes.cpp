// Scenes for the conformance comparison of the software and the GDI drawing layers.
#include "conformance/Scenes.hpp"

#include <array>
#include <istream>
#include <memory>
#include <ostream>
#include <sstream>

#include "button/TarvexButton.hpp"
#include "support/TestHost.hpp"

namespace conformance {

namespace {

using gdi::COLORREF;
using gdi::DeviceContext;
using gdi::POINT;
using gdi::RECT;
using gdi::Surface;

void Clear(Surface& s, COLORREF c) {
    s.fill(gdi::ToPixel(c));
}

// A surface whose every pixel has its own colour, to see exactly which source pixels a blit took.
Surface Pattern(std::int32_t w, std::int32_t h) {
    Surface s(w, h);
    for (std::int32_t y = 0; y < h; ++y) {
        for (std::int32_t x = 0; x < w; ++x) {
            s.set(
                x, y,
                gdi::ToPixel(gdi::RGB(std::uint8_t(0x30 + 0x1F * x), std::uint8_t(0xF0 - 0x21 * y),
                                      std::uint8_t(0x55 ^ (x * 7 + y * 13)))));
        }
    }
    return s;
}

void Lines(Surface& s) {
    Clear(s, 0xFFFFFF);
    DeviceContext dc(s);
    dc.SelectObject(gdi::Pen::Solid(0x000000));
    // Every octant, steep and shallow, and both ends of each axis.
    const POINT ends[] = {{40, 22}, {40, 30}, {33, 40}, {24, 40}, {16, 40}, {2, 33},
                          {0, 20},  {3, 12},  {0, 0},   {13, 1},  {20, 0},  {29, 3},
                          {40, 9},  {40, 20}, {21, 40}, {5, 25}};
    for (const POINT& e : ends) {
        dc.MoveToEx(20, 20);
        dc.LineTo(e.x, e.y);
    }
    dc.SelectObject(gdi::Pen::Solid(0x0000FF));
    dc.MoveToEx(-10, 35);
    dc.LineTo(50, 38);  // clipped at both sides
}

void Polygons(Surface& s) {
    Clear(s, 0xFFFFFF);
    DeviceContext dc(s);
    dc.SelectObject(gdi::Pen::Solid(0x800000));
    dc.SelectObject(gdi::Brush::Solid(0x00C0FF));
    const POINT triangle[] = {{3, 3}, {25, 8}, {9, 27}};
    dc.Polygon(triangle);
    dc.SelectObject(gdi::Brush::Hollow());
    const POINT star[] = {{45, 2}, {52, 28}, {31, 11}, {59, 11}, {38, 28}};
    dc.Polygon(star);
    dc.SelectObject(gdi::Pen::Null());
    dc.SelectObject(gdi::Brush::Solid(0x008000));
    const POINT diamond[] = {{15, 30}, {25, 36}, {15, 42}, {5, 36}};
    dc.Polygon(diamond);
}

void Rectangles(Surface& s) {
    Clear(s, 0xC0C0C0);
    DeviceContext dc(s);
    dc.FillRect({2, 2, 12, 9}, gdi::Brush::Solid(0x112233));
    dc.FillRect({14, 2, 15, 3}, gdi::Brush::Solid(0x0000FF));
    dc.FrameRect({2, 12, 12, 20}, gdi::Brush::Solid(0xFF0000));
    dc.FrameRect({14, 12, 16, 14}, gdi::Brush::Solid(0x00FF00));
    dc.FrameRect({-3, 22, 5, 40}, gdi::Brush::Solid(0x000080));
    for (int i = 0; i < 6; ++i) {  // focus rectangles at odd and even offsets and sizes
        dc.DrawFocusRect({18 + i * 7, 2 + i, 18 + i * 7 + 2 + i, 4 + 3 * i});
        dc.DrawFocusRect({18 + i * 7 + 1, 24, 18 + i * 7 + 4 + (i & 1), 30 + i});
    }
}

// Focus rectangles one pixel wide or high, and 1 x 1.
void ThinFocusRectangles(Surface& s) {
    Clear(s, 0xFFFFFF);
    DeviceContext dc(s);
    for (int i = 0; i < 4; ++i) {
        dc.DrawFocusRect({1 + i, 1 + 3 * i, 8 + 2 * i, 2 + 3 * i});
        dc.DrawFocusRect({20 + 3 * i, 1 + i, 21 + 3 * i, 9 + i});
    }
    dc.DrawFocusRect({3, 14, 4, 15});
}

void WidePenLines(Surface& s) {
    Clear(s, 0xFFFFFF);
    DeviceContext dc(s);
    dc.SelectObject(gdi::Pen::Solid(0x000080, 3));
    dc.MoveToEx(3, 3);
    dc.LineTo(20, 3);
    dc.MoveToEx(3, 8);
    dc.LineTo(3, 20);
    dc.MoveToEx(8, 8);
    dc.LineTo(20, 16);
}

void Blits(Surface& s) {
    Clear(s, 0xFFFFFF);
    Surface pattern = Pattern(7, 5);
    DeviceContext dc(s), src(pattern);
    dc.BitBlt(1, 1, 7, 5, src, 0, 0);
    dc.BitBlt(10, 1, 4, 3, src, 2, 1);
    dc.StretchBlt(1, 8, 15, 11, src, 0, 0, 7, 5);  // enlarging
    dc.StretchBlt(18, 8, 3, 2, src, 0, 0, 7, 5);   // shrinking
    dc.StretchBlt(18, 12, 5, 4, src, 0, 0, 7, 5);  // shrinking
    dc.StretchBlt(24, 1, 1, 5, src, 0, 0, 7, 5);   // to one column
    dc.StretchBlt(26, 1, 7, 1, src, 0, 0, 7, 5);   // to one row
    dc.StretchBlt(26, 3, 1, 1, src, 0, 0, 7, 5);   // to one pixel
    dc.StretchBlt(24, 8, 10, 3, src, 1, 1, 4, 4);  // enlarging one axis, shrinking the other
    dc.BitBlt(2, 20, 12, 6, dc, 0, 2);             // overlapping, same surface
}

void Gradients(Surface& s) {
    Clear(s, 0x000000);
    DeviceContext dc(s);
    auto vertex = [](std::int32_t x, std::int32_t y, COLORREF c) {
        gdi::TRIVERTEX v;
        v.x = x, v.y = y;
        v.Red = std::uint16_t(gdi::GetRValue(c) << 8);
        v.Green = std::uint16_t(gdi::GetGValue(c) << 8);
        v.Blue = std::uint16_t(gdi::GetBValue(c) << 8);
        return v;
    };
    dc.GradientFill(vertex(0, 0, 0x0000FF), vertex(40, 4, 0xFF8000), gdi::GRADIENT_FILL_RECT_H);
    dc.GradientFill(vertex(40, 5, 0x00FF00), vertex(0, 9, 0x101010), gdi::GRADIENT_FILL_RECT_H);
    dc.GradientFill(vertex(0, 10, 0xFFFFFF), vertex(7, 40, 0x000000), gdi::GRADIENT_FILL_RECT_V);
    dc.GradientFill(vertex(15, 40, 0x80FF20), vertex(9, 12, 0x2000FF), gdi::GRADIENT_FILL_RECT_V);
    dc.GradientFill(vertex(-5, 14, 0xFF0000), vertex(60, 20, 0x0000FF), gdi::GRADIENT_FILL_RECT_H);
}

void FillRegion(DeviceContext& dc, const gdi::Region& r, COLORREF c) {
    const RECT clip{0, 0, dc.width(), dc.height()};
    for (const gdi::RowSpan& span : r.Spans(clip)) {
        dc.FillRect({span.x0, span.y, span.x1, span.y + 1}, gdi::Brush::Solid(c));
    }
}

void Regions(Surface& s) {
    Clear(s, 0xFFFFFF);
    DeviceContext dc(s);
    const POINT star[] = {{15, 1}, {22, 29}, {1, 11}, {29, 11}, {8, 29}};
    FillRegion(dc, gdi::CreatePolygonRgn(star, gdi::ALTERNATE), 0x0000FF);
    const POINT shifted[] = {{45, 1}, {52, 29}, {31, 11}, {59, 11}, {38, 29}};
    FillRegion(dc, gdi::CreatePolygonRgn(shifted, gdi::WINDING), 0x00FF00);
    gdi::Region cut;
    gdi::CombineRgn(cut, gdi::CreateRectRgn(2, 31, 30, 45), gdi::CreateRectRgn(25, 35, 8, 40),
                    gdi::RGN_DIFF);
    FillRegion(dc, cut, 0xFF0000);
    const POINT slope[] = {{33, 31}, {58, 34}, {50, 45}, {36, 43}};
    FillRegion(dc, gdi::CreatePolygonRgn(slope, gdi::ALTERNATE), 0x808000);
}

Surface InkImage() {
    Surface image(6, 5);
    image.fill(0x00000000u);  // transparent
    const char* rows[] = {"#W..#.", ".##.#.", "..###.", "W.#.##", "#...W#"};
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) {
            if (rows[y][x] == '#') image.set(x, y, gdi::ToPixel(0x203040));
            if (rows[y][x] == 'W') image.set(x, y, gdi::ToPixel(0xFFFFFF));
        }
    }
    return image;
}

void DisabledImages(Surface& s) {
    Clear(s, 0xC0C0C0);
    DeviceContext dc(s);
    const Surface image = InkImage();
    dc.DrawState(image, 1, 1, 0, 0, gdi::DST_BITMAP | gdi::DSS_DISABLED);
    dc.DrawState(image, 9, 1, 12, 10, gdi::DST_ICON | gdi::DSS_DISABLED);
    dc.DrawState(image, 23, 1, 3, 3, gdi::DST_BITMAP | gdi::DSS_DISABLED);
    dc.DrawState(image, 1, 12, 0, 0, gdi::DST_ICON | gdi::DSS_NORMAL);
}

// ---- Looks -----------------------------------------------------------------------------------

using tarvex::kFalse;
using tarvex::kTrue;

struct LookCase {
    std::int32_t type = 1;
    std::int32_t scheme = 1;
    std::int32_t style = 0;
    std::int32_t state = tarvex::kStateNormal;
    bool disabled = false;
};

void PaintLook(Surface& s, const LookCase& c) {
    tarvex::testing::TestHost host;
    host.scaleWidth = s.width();
    host.scaleHeight = s.height();
    host.userMode = true;
    tarvex::TarvexButton b(host);
    b.mButtonType = c.type;
    b.mColorScheme = c.scheme;
    b.mButtonStyle = c.style;
    b.mBackColor = 0x40A0E0;
    b.mForeColor = 0x000000;
    b.mHoverForeColor = 0x0000FF;
    b.mGradientStart = 0xFF8040;
    b.mGradientStop = 0x2040C0;
    b.mGradientOrientation = c.style;
    b.mEnabled = c.disabled ? kFalse : kTrue;
    b.mShowFocus = c.state == tarvex::kStateFocused ? kTrue : kFalse;
    b.mButtonState = c.state;
    b.mFontDirty = kFalse;
    b.BuildPalette(false);
    b.SyncBackBufferSize();
    b.DrawButton(false);
    gdi::DeviceContext out(s);
    gdi::DeviceContext from(const_cast<Surface&>(b.BackBuffer()));
    out.BitBlt(0, 0, s.width(), s.height(), from, 0, 0);
}

}  // namespace

Surface Render(const Scene& scene) {
    Surface s(scene.width, scene.height);
    scene.paint(s);
    return s;
}

std::vector<Scene> PrimitiveScenes() {
    return {
        {"lines", 41, 41, Lines},
        {"polygons", 60, 44, Polygons},
        {"rectangles", 60, 42, Rectangles},
        {"blits", 36, 28, Blits},
        {"gradients", 44, 41, Gradients},
        {"regions", 60, 46, Regions},
        {"disabled-images", 36, 20, DisabledImages},
        {"thin-focus-rectangles", 32, 16, ThinFocusRectangles},
        {"wide-pen-lines", 24, 24, WidePenLines},
    };
}

std::vector<Scene> LookScenes() {
    const std::array<std::array<std::int32_t, 2>, 3> sizes = {{{81, 25}, {40, 40}, {15, 9}}};
    const std::array<std::pair<std::int32_t, const char*>, 5> states = {{
        {tarvex::kStateNormal, "normal"},
        {tarvex::kStatePressed, "pressed"},
        {tarvex::kStateFocused, "focused"},
        {tarvex::kStateHover, "hover"},
        {tarvex::kStateNormal, "disabled"},
    }};
    std::vector<Scene> scenes;
    for (std::int32_t type = 1; type <= 8; ++type) {
        for (std::int32_t scheme = 1; scheme <= 5; ++scheme) {
            for (std::int32_t style = 0; style <= 3; ++style) {
                for (const auto& [state, stateName] : states) {
                    for (const auto& [w, h] : sizes) {
                        LookCase c{type, scheme, style, state,
                                   std::string(stateName) == "disabled"};
                        std::ostringstream name;
                        name << "look" << type << "-scheme" << scheme << "-style" << style << "-"
                             << stateName << "-" << w << "x" << h;
                        scenes.push_back({name.str(), w, h, [c](Surface& s) { PaintLook(s, c); }});
                    }
                }
            }
        }
    }
    return scenes;
}

std::vector<std::string> CaptionFacts() {
    struct Face {
        const char* name;
        std::int32_t height;
        std::int32_t weight;
    };
    const Face faces[] = {{"Liberation Serif", -11, 400}, {"Liberation Serif", -16, 700},
                          {"Liberation Sans", -11, 400},  {"Liberation Sans", -13, 700},
                          {"Liberation Mono", -12, 400},  {"Liberation Sans", 16, 400},
                          {"DejaVu Sans", -11, 400},      {"Times New Roman", -11, 400}};
    const char* texts[] = {"Change", "...", "Vornik 1.2 &Apply", ""};
    std::vector<std::string> facts;
    Surface s(1, 1);
    DeviceContext dc(s);
    for (const Face& f : faces) {
        gdi::LOGFONT lf;
        lf.lfHeight = f.height;
        lf.lfWeight = f.weight;
        lf.lfQuality = gdi::NONANTIALIASED_QUALITY;
        lf.SetFaceName(f.name);
        const gdi::Font font = gdi::Font::Create(lf);
        dc.SelectObject(font);
        const std::string key = std::string(f.name) + "|" + std::to_string(f.height) + "|" +
                                std::to_string(f.weight) + "|";
        gdi::TEXTMETRIC tm;
        dc.GetTextMetrics(tm);
        facts.push_back(key + "face|" + dc.GetTextFace());
        facts.push_back(key + "height|" + std::to_string(tm.tmHeight));
        facts.push_back(key + "ascent|" + std::to_string(tm.tmAscent));
        facts.push_back(key + "descent|" + std::to_string(tm.tmDescent));
        facts.push_back(key + "pitch-and-family|" + std::to_string(tm.tmPitchAndFamily));
        for (const char* text : texts) {
            std::ostringstream advances;
            for (std::int32_t a : font.Advances(gdi::Utf8ToUtf32(text))) advances << a << " ";
            facts.push_back(key + "advances|" + text + "|" + advances.str());
            RECT r{3, 4, 3, 4};
            const std::int32_t height =
                dc.DrawText(text, r, gdi::DT_CALCRECT | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX);
            facts.push_back(key + "measure|" + text + "|" + std::to_string(height) + "|" +
                            std::to_string(r.right - r.left) + "|" +
                            std::to_string(r.bottom - r.top));
        }
    }
    return facts;
}

void WriteScenes(std::ostream& out, const std::vector<Scene>& scenes) {
    for (const Scene& scene : scenes) {
        const Surface s = Render(scene);
        out << scene.name << ' ' << s.width() << ' ' << s.height() << '\n';
        for (std::int32_t y = 0; y < s.height(); ++y) {
            for (std::int32_t x = 0; x < s.width(); ++x) {
                const std::uint32_t p = s.at(x, y) & 0x00FFFFFFu;
                const char bytes[] = {char(p & 0xFF), char((p >> 8) & 0xFF),
                                      char((p >> 16) & 0xFF)};
                out.write(bytes, 3);
            }
        }
    }
}

std::vector<Picture> ReadScenes(std::istream& in) {
    std::vector<Picture> pictures;
    Picture p;
    while (in >> p.name >> p.width >> p.height) {
        in.get();  // the newline
        p.rgb.assign(std::size_t(p.width) * std::size_t(p.height), 0);
        for (std::uint32_t& word : p.rgb) {
            unsigned char bytes[3] = {};
            in.read(reinterpret_cast<char*>(bytes), 3);
            word = std::uint32_t(bytes[0]) | (std::uint32_t(bytes[1]) << 8) |
                   (std::uint32_t(bytes[2]) << 16);
        }
        if (!in) break;
        pictures.push_back(p);
    }
    return pictures;
}

}  // namespace conformance
