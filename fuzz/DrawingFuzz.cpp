// The drawing layer. Input: a surface size, then drawing calls one after another, each an
// operation byte and its arguments. Coordinates are mostly small, sometimes any 32-bit number,
// so clipping, scaling and scan conversion meet both the ordinary and the absurd. Whatever is
// asked, nothing is written outside the surface, a region keeps only what it was asked to and
// answers point queries as its spans say, and a pixel set on the surface reads back.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/FuzzSupport.hpp"
#include "gdi/gdi.hpp"

namespace {

using namespace gdi;

const char* const kFaces[] = {"MS Sans Serif", "Times New Roman", "Arial", "Courier New"};
constexpr std::int32_t kEscapements[] = {0, 900, 2700, 450};

class Painter {
  public:
    Painter(fuzz::InputReader& in, Surface& surface) : in_(in), dc_(surface) {}

    std::int32_t Coord() {
        const std::uint8_t b = in_.Byte();
        return b < 0xF0 ? std::int32_t(b) - 64 : in_.I32();
    }
    COLORREF Colour() { return COLORREF(in_.I32()) & 0xFFFFFF; }
    // Arguments are read in order before a call: the order a compiler evaluates a call's
    // arguments in is its own, and an input must mean the same calls to every build.
    template <std::size_t N>
    std::array<std::int32_t, N> Coords() {
        std::array<std::int32_t, N> values;
        for (std::int32_t& v : values) v = Coord();
        return values;
    }
    RECT Rect() {
        RECT r;
        r.left = Coord();
        r.top = Coord();
        r.right = Coord();
        r.bottom = Coord();
        return r;
    }
    std::vector<POINT> Points() {
        std::vector<POINT> points(in_.Pick(12));
        for (POINT& p : points) p = {Coord(), Coord()};
        if (in_.Pick(8) == 0) {  // many vertices far apart
            for (int i = 0; i < 1000; ++i)
                points.push_back({i % 2 ? 60000 : -60000, 60000 - 120 * i});
        }
        return points;
    }
    Surface Image() {
        const std::int32_t w = in_.Pick(24);
        const std::int32_t h = in_.Pick(24);
        Surface image(w, h);
        for (std::int32_t y = 0; y < h; ++y)
            for (std::int32_t x = 0; x < w; ++x) image.set(x, y, std::uint32_t(in_.I32()));
        return image;
    }
    std::string Text() {
        std::string text;
        for (std::uint32_t n = in_.Pick(24); n > 0; --n) text += char(in_.Byte());
        return text;
    }

    void Step() {
        switch (in_.Pick(14)) {
            case 0:
                dc_.FillRect(Rect(), Brush::Solid(Colour()));
                break;
            case 1: {
                const RECT r = Rect();
                dc_.FrameRect(r, in_.Pick(2) ? Brush::Solid(Colour()) : Brush::Hollow());
                break;
            }
            case 2:
                dc_.DrawFocusRect(Rect());
                break;
            case 3: {
                if (in_.Pick(4)) {
                    const COLORREF colour = Colour();
                    dc_.SelectObject(Pen::Solid(colour, std::int32_t(in_.Pick(6))));
                } else {
                    dc_.SelectObject(Pen::Null());
                }
                const auto [x0, y0, x1, y1] = Coords<4>();
                dc_.MoveToEx(x0, y0);
                dc_.LineTo(x1, y1);
                break;
            }
            case 4: {
                dc_.SelectObject(in_.Pick(2) ? Brush::Solid(Colour()) : Brush::Hollow());
                const std::vector<POINT> points = Points();
                dc_.Polygon(points);
                break;
            }
            case 5:
                Regions();
                break;
            case 6: {
                const std::int32_t x = Coord();
                const std::int32_t y = Coord();
                const COLORREF c = Colour();
                const COLORREF previous = dc_.SetPixel(x, y, c);
                const bool inside = dc_.surface().contains(x, y);
                FUZZ_CHECK(inside == (previous != CLR_INVALID));
                FUZZ_CHECK(dc_.GetPixel(x, y) == (inside ? c : CLR_INVALID));
                break;
            }
            case 7: {
                Surface source = Image();
                DeviceContext src(source);
                const bool self = in_.Pick(2);
                const auto a = Coords<6>();
                dc_.BitBlt(a[0], a[1], a[2], a[3], self ? dc_ : src, a[4], a[5]);
                break;
            }
            case 8: {
                Surface source = Image();
                DeviceContext src(source);
                const auto a = Coords<8>();
                dc_.StretchBlt(a[0], a[1], a[2], a[3], src, a[4], a[5], a[6], a[7]);
                break;
            }
            case 9: {
                TRIVERTEX a{Coord(), Coord(), in_.U16(), in_.U16(), in_.U16(), 0};
                TRIVERTEX b{Coord(), Coord(), in_.U16(), in_.U16(), in_.U16(), 0};
                dc_.GradientFill(a, b, in_.Pick(3));
                break;
            }
            case 10: {
                const Surface image = Image();
                const std::uint32_t kinds[] = {DST_ICON, DST_BITMAP, DST_ICON | DSS_DISABLED,
                                               DST_BITMAP | DSS_DISABLED, 0};
                const std::uint32_t kind = kinds[in_.Pick(5)];
                const auto a = Coords<4>();
                dc_.DrawState(image, a[0], a[1], a[2], a[3], kind);
                break;
            }
            case 11: {
                const Surface image = Image();
                const auto a = Coords<4>();
                dc_.DrawImage(image, a[0], a[1], a[2], a[3]);
                break;
            }
            case 12: {
                SelectFont();
                dc_.SetBkMode(in_.Pick(2) ? TRANSPARENT : OPAQUE);
                dc_.SetTextColor(Colour());
                const auto [x, y] = Coords<2>();
                dc_.TextOut(x, y, Text());
                break;
            }
            case 13: {
                SelectFont();
                RECT r{Coord(), Coord(), 0, 0};
                const std::int32_t left = r.left;
                dc_.DrawText(Text(), r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
                FUZZ_CHECK(r.right >= left);
                break;
            }
        }
    }

  private:
    void SelectFont() {
        LOGFONT lf;
        lf.lfHeight = std::int32_t(in_.Pick(80)) - 40;
        lf.lfEscapement = kEscapements[in_.Pick(4)];
        lf.lfWeight = std::int32_t(in_.Pick(10)) * 100;
        lf.lfItalic = in_.Pick(2);
        lf.lfUnderline = in_.Pick(2);
        lf.lfStrikeOut = in_.Pick(2);
        lf.lfQuality = in_.Pick(2) ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
        lf.SetFaceName(kFaces[in_.Pick(4)]);
        dc_.SelectObject(Font::Create(lf));
    }

    // A polygon region limited to the surface, combined with a rectangle: it keeps to the
    // surface, and each of its spans is inside it point by point.
    void Regions() {
        const std::vector<POINT> points = Points();
        const RECT visible{0, 0, dc_.width(), dc_.height()};
        const Region shape = CreatePolygonRgn(points, int(in_.Pick(3)), visible);
        const RECT r = Rect();
        const Region rect = CreateRectRgn(r.left, r.top, r.right, r.bottom);
        Region combined;
        CombineRgn(combined, shape, rect, int(in_.Pick(6)));
        if (!shape.empty()) {
            const RECT box = shape.Box();
            FUZZ_CHECK(box.left >= 0 && box.top >= 0 && box.right <= visible.right &&
                       box.bottom <= visible.bottom);
        }
        for (const RowSpan& span : combined.Spans(visible)) {
            FUZZ_CHECK(span.x0 < span.x1);
            FUZZ_CHECK(combined.PtInRegion(span.x0, span.y));
            FUZZ_CHECK(combined.PtInRegion(span.x1 - 1, span.y));
        }
    }

    fuzz::InputReader& in_;
    DeviceContext dc_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader in(data, size);
    const std::int32_t width = in.Pick(64);
    const std::int32_t height = in.Pick(64);
    // The surface sits inside a larger one with a guard border: the context draws on a window
    // of it, and the border must stay untouched.
    constexpr std::uint32_t kGuard = 0x12345678;
    constexpr std::int32_t kBorder = 8;
    Surface whole(width + 2 * kBorder, height + 2 * kBorder);
    whole.fill(kGuard);
    Surface surface(whole.row(kBorder) + kBorder, width, height, whole.stride());
    Painter painter(in, surface);
    for (int step = 0; step < 64 && !in.empty(); ++step) painter.Step();
    for (std::int32_t y = 0; y < whole.height(); ++y) {
        for (std::int32_t x = 0; x < whole.width(); ++x) {
            const bool inside =
                x >= kBorder && y >= kBorder && x < kBorder + width && y < kBorder + height;
            if (!inside) FUZZ_CHECK(whole.at(x, y) == kGuard);
        }
    }
    return 0;
}
