// Lines and polygon outlines with a solid pen.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

namespace detail {

namespace {

__extension__ using Wide = __int128;  // 2b * k reaches 2^65 for lines between far corners

Wide CeilDiv(Wide num, Wide den) {  // den > 0
    return num >= 0 ? (num + den - 1) / den : -((-num) / den);
}

// The range of steps k in [0, count) for which start + step * k lies in [0, limit).
void ClipSteps(std::int64_t start, std::int64_t step, std::int64_t limit, std::int64_t count,
               std::int64_t& first, std::int64_t& last) {
    std::int64_t lo = 0;
    std::int64_t hi = count;
    if (step > 0) {
        lo = std::max(lo, -start);
        hi = std::min(hi, limit - start);
    } else {
        lo = std::max(lo, start - (limit - 1));
        hi = std::min(hi, start + 1);
    }
    first = lo;
    last = hi;
}

}  // namespace

// Bresenham with the octant bias of classic GDI. After k major steps the minor axis has moved
// m(k) = ceil((2bk - a + bias) / 2a), which lets the walk start at the first step inside the
// surface: a line with far-away ends costs no more than one across the surface.
void DrawLine(Surface& s, POINT from, POINT to, std::uint32_t pixel) {
    const std::int64_t dx = std::int64_t(to.x) - from.x;
    const std::int64_t dy = std::int64_t(to.y) - from.y;
    if (dx == 0 && dy == 0) return;
    if (s.empty()) return;

    const bool xMajor = std::llabs(dx) > std::llabs(dy);
    const bool bias = xMajor ? dy <= 0 : (dx < 0 || (dx == 0 && dy > 0));
    const std::int64_t a = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t b = xMajor ? std::llabs(dy) : std::llabs(dx);
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t minorStep = (xMajor ? dy : dx) >= 0 ? 1 : -1;
    const std::int64_t majorLimit = xMajor ? s.width() : s.height();

    std::int64_t first = 0;
    std::int64_t last = 0;
    ClipSteps(majorStart, majorStep, majorLimit, a, first, last);
    if (first >= last) return;

    if (b == 0 && xMajor) {  // horizontal: one run along a row, filled directly
        if (minorStart < 0 || minorStart >= s.height()) return;
        const std::int64_t x0 = majorStart + majorStep * first;
        const std::int64_t x1 = majorStart + majorStep * (last - 1);
        std::uint32_t* row = s.row(static_cast<std::int32_t>(minorStart));
        std::fill(row + std::min(x0, x1), row + std::max(x0, x1) + 1, pixel);
        return;
    }
    if (b == 0) {  // vertical: one run
        for (std::int64_t k = first; k < last; ++k) {
            const std::int64_t major = majorStart + majorStep * k;
            if (xMajor) {
                PutPixel(s, major, minorStart, pixel);
            } else {
                PutPixel(s, minorStart, major, pixel);
            }
        }
        return;
    }

    const Wide stepsBefore = CeilDiv(Wide(2) * b * first - a + (bias ? 1 : 0), Wide(2) * a);
    std::int64_t minorSteps = static_cast<std::int64_t>(stepsBefore);
    std::int64_t err = static_cast<std::int64_t>(Wide(2) * b - a + Wide(2) * b * first -
                                                 Wide(2) * a * stepsBefore);
    for (std::int64_t k = first; k < last; ++k) {
        const std::int64_t major = majorStart + majorStep * k;
        const std::int64_t minor = minorStart + minorStep * minorSteps;
        if (xMajor) {
            PutPixel(s, major, minor, pixel);
        } else {
            PutPixel(s, minor, major, pixel);
        }
        if (err + (bias ? 1 : 0) > 0) {
            ++minorSteps;
            err += 2 * b - 2 * a;
        } else {
            err += 2 * b;
        }
    }
}

}  // namespace detail

namespace {

// Pens wider than one pixel are drawn as a square nib centred on each pixel of the thin line.
void DrawPenLine(Surface& s, const Pen& pen, POINT from, POINT to) {
    if (pen.style() == PenStyle::Null) return;
    const std::uint32_t pixel = ToPixel(pen.color());
    if (pen.width() <= 1) {
        detail::DrawLine(s, from, to, pixel);
        return;
    }
    const std::int64_t half = (pen.width() - 1) / 2;
    for (std::int64_t oy = -half; oy < pen.width() - half; ++oy) {
        for (std::int64_t ox = -half; ox < pen.width() - half; ++ox) {
            const auto shift = [](std::int32_t v, std::int64_t o) {
                return static_cast<std::int32_t>(
                    std::clamp<std::int64_t>(v + o, std::numeric_limits<std::int32_t>::min(),
                                             std::numeric_limits<std::int32_t>::max()));
            };
            detail::DrawLine(s, {shift(from.x, ox), shift(from.y, oy)},
                             {shift(to.x, ox), shift(to.y, oy)}, pixel);
        }
    }
}

}  // namespace

bool DeviceContext::LineTo(std::int32_t x, std::int32_t y) {
    DrawPenLine(*surface_, pen_, position_, {x, y});
    position_ = {x, y};
    return true;
}

bool DeviceContext::Polygon(std::span<const POINT> points) {
    if (points.size() < 2) return false;
    if (!brush_.hollow()) {
        const RECT clip{0, 0, width(), height()};
        const Region inside = CreatePolygonRgn(points, ALTERNATE, clip);
        const std::uint32_t pixel = ToPixel(brush_.color());
        for (const RowSpan& span : inside.Spans(clip)) {
            detail::FillSpan(*surface_, span.y, span.x0, span.x1, pixel);
        }
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        DrawPenLine(*surface_, pen_, points[i], points[(i + 1) % points.size()]);
    }
    return true;
}

}  // namespace gdi
