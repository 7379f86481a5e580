// Regions as GDI regions: made, combined and tested by GDI, read back as row spans through
// GetRegionData.
#include <algorithm>
#include <atomic>
#include <vector>

#include "gdi/gdi.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

namespace {

std::atomic<std::int64_t> g_liveRegions{0};

}  // namespace

struct Region::Data {
    explicit Data(HRGN h) : region(h) { g_liveRegions.fetch_add(1, std::memory_order_relaxed); }
    Data(const Data&) = delete;
    Data& operator=(const Data&) = delete;
    ~Data() { g_liveRegions.fetch_sub(1, std::memory_order_relaxed); }
    detail::GdiObject<HRGN> region;
};

namespace {

Region Wrap(HRGN h) {
    if (!h) throw Error("GDI refused to make a region");
    return Region(std::make_shared<const Region::Data>(h));
}

HRGN EmptyRgn() {
    return ::CreateRectRgn(0, 0, 0, 0);
}

// The region's rectangles, in GDI's order: bands top to bottom, left to right within a band.
std::vector<::RECT> Rectangles(HRGN h) {
    const DWORD size = GetRegionData(h, 0, nullptr);
    if (size == 0) return {};
    std::vector<std::uint8_t> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(h, size, data) == 0) return {};
    const auto* first = reinterpret_cast<const ::RECT*>(data->Buffer);
    return std::vector<::RECT>(first, first + data->rdh.nCount);
}

}  // namespace

Region::Region() {
    static const std::shared_ptr<const Data> none = std::make_shared<const Data>(EmptyRgn());
    d_ = none;
}

Region::Region(std::shared_ptr<const Data> d) : d_(std::move(d)) {
    if (!d_) *this = Region();
}

bool Region::PtInRegion(std::int32_t x, std::int32_t y) const {
    return ::PtInRegion(d_->region.get(), x, y) != 0;
}

std::vector<RowSpan> Region::Spans() const {
    return Spans(RECT{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
}

std::vector<RowSpan> Region::Spans(const RECT& clip) const {
    const std::vector<::RECT> rects = Rectangles(d_->region.get());
    std::vector<RowSpan> spans;
    // Rectangles of one band share their rows; a band is emitted row by row.
    for (std::size_t band = 0; band < rects.size();) {
        std::size_t end = band;
        while (end < rects.size() && rects[end].top == rects[band].top) ++end;
        const std::int32_t y0 = std::max<std::int32_t>(rects[band].top, clip.top);
        const std::int32_t y1 = std::min<std::int32_t>(rects[band].bottom, clip.bottom);
        for (std::int32_t y = y0; y < y1; ++y) {
            for (std::size_t i = band; i < end; ++i) {
                const std::int32_t x0 = std::max<std::int32_t>(rects[i].left, clip.left);
                const std::int32_t x1 = std::min<std::int32_t>(rects[i].right, clip.right);
                if (x0 >= x1) continue;
                if (!spans.empty() && spans.back().y == y && spans.back().x1 == x0) {
                    spans.back().x1 = x1;
                } else {
                    spans.push_back({y, x0, x1});
                }
            }
        }
        band = end;
    }
    return spans;
}

RECT Region::Box() const {
    ::RECT box{};
    if (GetRgnBox(d_->region.get(), &box) == NULLREGION) return {};
    return {box.left, box.top, box.right, box.bottom};
}

bool Region::empty() const {
    return Kind() == NULLREGION;
}

int Region::Kind() const {
    ::RECT box{};
    return GetRgnBox(d_->region.get(), &box);
}

std::int64_t Region::LiveCount() {
    return g_liveRegions.load(std::memory_order_relaxed);
}

Region CreateRectRgn(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
    return Wrap(::CreateRectRgn(left, top, right, bottom));
}

Region CreatePolygonRgn(std::span<const POINT> points, int fillMode) {
    if (fillMode != ALTERNATE && fillMode != WINDING) return Region();
    if (points.size() < 3) return Region();
    std::vector<::POINT> corners;
    corners.reserve(points.size());
    for (const POINT& p : points) corners.push_back({p.x, p.y});
    return Wrap(::CreatePolygonRgn(corners.data(), int(corners.size()), fillMode));
}

Region CreatePolygonRgn(std::span<const POINT> points, int fillMode, const RECT& visible) {
    const Region whole = CreatePolygonRgn(points, fillMode);
    Region shown;
    CombineRgn(shown, whole,
               CreateRectRgn(visible.left, visible.top, visible.right, visible.bottom), RGN_AND);
    return shown;
}

int CombineRgn(Region& dst, const Region& a, const Region& b, int mode) {
    if (mode < RGN_AND || mode > RGN_COPY) return RGN_ERROR;
    Region result = Wrap(EmptyRgn());
    const int kind = ::CombineRgn(result.data().region.get(), a.data().region.get(),
                                  b.data().region.get(), mode);
    if (kind == RGN_ERROR) return RGN_ERROR;
    dst = std::move(result);
    return kind;
}

}  // namespace gdi
