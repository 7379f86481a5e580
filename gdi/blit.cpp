// Block transfers in software: BitBlt, StretchBlt and DrawState.
#include <optional>
#include <vector>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

namespace {

__extension__ using Wide = __int128;  // (2i + 1) * S overflows 64 bits for absurd extents

// Source pixels [lo, hi) that meet on one destination pixel.
struct SourceRange {
    std::int64_t lo = 0;
    std::int64_t hi = 0;
};

// First source pixel j whose landing place floor(((2j + 1) * D - 1) / 2S) is at least i.
std::int64_t FirstLanding(std::int64_t i, std::int64_t s, std::int64_t d) {
    const Wide num = Wide(2) * s * i + 1 - d;
    if (num <= 0) return 0;
    const Wide den = Wide(2) * d;
    return std::int64_t((num + den - 1) / den);
}

// The stretch rule of one axis for destination index i of extent d from source extent s.
// Shrinking to a single pixel leaves the last source pixel out, as Windows does.
SourceRange StretchSources(std::int64_t i, std::int64_t s, std::int64_t d) {
    if (d == 1 && s > 1) return {0, s - 1};
    if (d >= s) {
        const std::int64_t j = detail::EnlargeIndex(i, s, d);
        return {j, j + 1};
    }
    return {FirstLanding(i, s, d), std::min(FirstLanding(i + 1, s, d), s)};
}

// Same-surface transfers read from a snapshot, so overlapping areas copy as if at once.
const Surface& SourceOf(const Surface& src, const Surface& dst, std::optional<Surface>& copy) {
    if (&src != &dst) return src;
    copy.emplace(src.Clone());
    return *copy;
}

}  // namespace

bool DeviceContext::BitBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                           const DeviceContext& src, std::int32_t srcX, std::int32_t srcY) {
    if (cx < 0 || cy < 0) return false;
    std::optional<Surface> snapshot;
    const Surface& from = SourceOf(src.surface(), *surface_, snapshot);
    // Destination indices i (0..cx) visible in both surfaces.
    std::int64_t i0, i1, j0, j1, si0, si1, sj0, sj1;
    detail::VisibleIndices(x, cx, width(), i0, i1);
    detail::VisibleIndices(y, cy, height(), j0, j1);
    detail::VisibleIndices(srcX, cx, from.width(), si0, si1);
    detail::VisibleIndices(srcY, cy, from.height(), sj0, sj1);
    i0 = std::max(i0, si0), i1 = std::min(i1, si1);
    j0 = std::max(j0, sj0), j1 = std::min(j1, sj1);
    for (std::int64_t j = j0; j < j1; ++j) {
        const std::uint32_t* in = from.row(static_cast<std::int32_t>(srcY + j));
        std::uint32_t* out = surface_->row(static_cast<std::int32_t>(y + j));
        for (std::int64_t i = i0; i < i1; ++i) out[x + i] = in[srcX + i] | 0xFF000000u;
    }
    return true;
}

// Enlarging picks one source pixel per destination pixel; shrinking ANDs together every source
// pixel that lands on the same destination pixel (the default BLACKONWHITE stretch mode).
bool DeviceContext::StretchBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                               const DeviceContext& src, std::int32_t srcX, std::int32_t srcY,
                               std::int32_t srcCx, std::int32_t srcCy) {
    if (cx < 0 || cy < 0 || srcCx < 0 || srcCy < 0) return false;
    if (cx == 0 || cy == 0 || srcCx == 0 || srcCy == 0) return true;
    std::optional<Surface> snapshot;
    const Surface& from = SourceOf(src.surface(), *surface_, snapshot);

    std::int64_t i0, i1, j0, j1;
    detail::VisibleIndices(x, cx, width(), i0, i1);
    detail::VisibleIndices(y, cy, height(), j0, j1);
    if (i0 >= i1 || j0 >= j1) return true;

    // Source columns of each visible destination column, clipped to the source surface.
    std::vector<SourceRange> columns;
    columns.reserve(static_cast<std::size_t>(i1 - i0));
    for (std::int64_t i = i0; i < i1; ++i) {
        SourceRange r = StretchSources(i, srcCx, cx);
        r.lo = std::max<std::int64_t>(r.lo + srcX, 0);
        r.hi = std::min<std::int64_t>(r.hi + srcX, from.width());
        columns.push_back(r);
    }
    for (std::int64_t j = j0; j < j1; ++j) {
        SourceRange rows = StretchSources(j, srcCy, cy);
        rows.lo = std::max<std::int64_t>(rows.lo + srcY, 0);
        rows.hi = std::min<std::int64_t>(rows.hi + srcY, from.height());
        if (rows.lo >= rows.hi) continue;
        std::uint32_t* out = surface_->row(static_cast<std::int32_t>(y + j));
        for (std::int64_t i = i0; i < i1; ++i) {
            const SourceRange& cols = columns[static_cast<std::size_t>(i - i0)];
            if (cols.lo >= cols.hi) continue;
            std::uint32_t combined = 0xFFFFFFFFu;
            for (std::int64_t sy = rows.lo; sy < rows.hi; ++sy) {
                const std::uint32_t* in = from.row(static_cast<std::int32_t>(sy));
                for (std::int64_t sx = cols.lo; sx < cols.hi; ++sx) combined &= in[sx];
            }
            out[x + i] = combined | 0xFF000000u;
        }
    }
    return true;
}

// Disabled images are embossed: the ink of the image (at its drawn size) is painted in the
// highlight colour one pixel down and right, then in the shadow colour in place. Pixels that
// are not ink are left alone.
bool DeviceContext::DrawState(const Surface& image, std::int32_t x, std::int32_t y, std::int32_t cx,
                              std::int32_t cy, std::uint32_t flags) {
    const std::uint32_t type = flags & 0x000Fu;
    const std::uint32_t state = flags & ~0x000Fu;
    if (type != DST_ICON && type != DST_BITMAP) return false;
    if (state != DSS_NORMAL && state != DSS_DISABLED) return false;
    if (cx < 0 || cy < 0) return false;
    const std::int32_t w = cx != 0 ? cx : image.width();
    const std::int32_t h = cy != 0 ? cy : image.height();
    if (state == DSS_NORMAL) return DrawImage(image, x, y, w, h);
    if (w == 0 || h == 0 || image.empty()) return true;

    detail::PaintDisabled(*surface_, image, x, y, w, h);
    return true;
}

}  // namespace gdi
