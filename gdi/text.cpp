// Text on a device context: metrics, one-line measuring and output at the three escapements.
//
// Rotated text turns the upright glyph images about the reference pixel: at escapement 900
// the cell's top row lies on column ref.x and the text reads upwards from row ref.y, so the
// cells cover x in [ref.x, ref.x + height) and y in (ref.y - width, ref.y]; at 2700 the top
// row lies on column ref.x and the text reads downwards, covering x in (ref.x - height, ref.x]
// and y in [ref.y, ref.y + width). Other escapements draw upright.
#include "gdi/font_impl.hpp"
#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

namespace {

enum class Direction { Right, Up, Down };

Direction DirectionOf(std::int32_t escapement) {
    const std::int32_t e = ((escapement % 3600) + 3600) % 3600;
    if (e == 900) return Direction::Up;
    if (e == 2700) return Direction::Down;
    return Direction::Right;
}

// Maps a point of the upright text box (dx along the text, dy down from the cell top) onto the
// surface.
struct Placement {
    std::int64_t x = 0;
    std::int64_t y = 0;
    Direction direction = Direction::Right;

    std::int64_t MapX(std::int64_t dx, std::int64_t dy) const {
        switch (direction) {
            case Direction::Up:
                return x + dy;
            case Direction::Down:
                return x - dy;
            default:
                return x + dx;
        }
    }
    std::int64_t MapY(std::int64_t dx, std::int64_t dy) const {
        switch (direction) {
            case Direction::Up:
                return y - dx;
            case Direction::Down:
                return y + dx;
            default:
                return y + dy;
        }
    }
    // The surface box of the upright box [dx0, dx1) x [dy0, dy1).
    detail::Box Map(std::int64_t dx0, std::int64_t dy0, std::int64_t dx1, std::int64_t dy1) const {
        const std::int64_t ax = MapX(dx0, dy0), ay = MapY(dx0, dy0);
        const std::int64_t bx = MapX(dx1 - 1, dy1 - 1), by = MapY(dx1 - 1, dy1 - 1);
        return {std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1};
    }
};

void DrawGlyph(Surface& s, const Placement& at, std::int64_t penX, std::int32_t ascent,
               const detail::GlyphImage& g, std::uint32_t color) {
    if (g.width <= 0 || g.rows <= 0) return;
    const std::int64_t dx0 = penX + g.left;
    const std::int64_t dy0 = std::int64_t(ascent) - g.top;
    if (detail::Intersect(at.Map(dx0, dy0, dx0 + g.width, dy0 + g.rows), detail::SurfaceBox(s))
            .empty()) {
        return;
    }
    for (std::int32_t r = 0; r < g.rows; ++r) {
        const std::uint8_t* cover = g.coverage.data() + std::size_t(r) * g.width;
        for (std::int32_t c = 0; c < g.width; ++c) {
            if (cover[c] == 0) continue;
            const std::int64_t x = at.MapX(dx0 + c, dy0 + r);
            const std::int64_t y = at.MapY(dx0 + c, dy0 + r);
            if (x < 0 || y < 0 || x >= s.width() || y >= s.height()) continue;
            std::uint32_t& p = s.row(static_cast<std::int32_t>(y))[x];
            p = detail::BlendOver(p, color, cover[c]);
        }
    }
}

}  // namespace

bool DeviceContext::GetTextMetrics(TEXTMETRIC& tm) const {
    tm = font_.Metrics();
    return true;
}

// The face actually in use, which may differ from the one asked for.
std::string DeviceContext::GetTextFace() const {
    return font_.ResolvedFamily();
}

std::int32_t DeviceContext::DrawText(std::u32string_view text, RECT& r,
                                     std::uint32_t format) const {
    const std::uint32_t supported = DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX;
    if ((format & ~supported) != 0) return 0;
    if ((format & DT_CALCRECT) == 0 || (format & DT_SINGLELINE) == 0) return 0;
    const std::int32_t height = font_.Metrics().tmHeight;
    const std::int64_t right = std::int64_t(r.left) + font_.TextWidth(text);
    const std::int64_t bottom = std::int64_t(r.top) + height;
    r.right = static_cast<std::int32_t>(std::min<std::int64_t>(right, INT32_MAX));
    r.bottom = static_cast<std::int32_t>(std::min<std::int64_t>(bottom, INT32_MAX));
    return height;
}

std::int32_t DeviceContext::DrawText(std::string_view utf8, RECT& r, std::uint32_t format) const {
    return DrawText(Utf8ToUtf32(utf8), r, format);
}

bool DeviceContext::TextOut(std::int32_t x, std::int32_t y, std::u32string_view text) {
    const Font::Impl& f = font_.impl();
    const TEXTMETRIC& tm = f.metrics;
    const Placement at{x, y, DirectionOf(f.description.lfEscapement)};
    const std::uint32_t color = ToPixel(textColor_);

    std::lock_guard lock(f.mutex);
    std::int64_t width = 0;
    for (char32_t ch : text) width += f.Glyph(ch, false).advance;

    if (bkMode_ == OPAQUE && width > 0 && tm.tmHeight > 0) {
        detail::FillBox(*surface_, at.Map(0, 0, width, tm.tmHeight), ToPixel(bkColor_));
    }
    std::int64_t penX = 0;
    for (char32_t ch : text) {
        const detail::CachedGlyph& g = f.Glyph(ch, true);
        DrawGlyph(*surface_, at, penX, tm.tmAscent, g.image, color);
        penX += g.advance;
    }
    if (width > 0 && tm.tmHeight > 0) {
        if (tm.tmUnderlined) {
            detail::FillBox(*surface_, at.Map(0, f.underlineRow, width, f.underlineRow + 1), color);
        }
        if (tm.tmStruckOut) {
            detail::FillBox(*surface_, at.Map(0, f.strikeOutRow, width, f.strikeOutRow + 1), color);
        }
    }
    return true;
}

bool DeviceContext::TextOut(std::int32_t x, std::int32_t y, std::string_view utf8) {
    return TextOut(x, y, Utf8ToUtf32(utf8));
}

}  // namespace gdi
