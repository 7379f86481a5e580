// Lines and polygons with GDI pens and brushes.
#include <algorithm>
#include <vector>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

namespace detail {

GdiObject<HPEN> MakePen(const Pen& pen) {
    if (pen.style() == PenStyle::Null) return GdiObject<HPEN>(CreatePen(PS_NULL, 0, 0));
    return GdiObject<HPEN>(CreatePen(PS_SOLID, pen.width(), pen.color()));
}

GdiObject<HBRUSH> MakeBrush(const Brush& brush) {
    if (brush.hollow()) {
        LOGBRUSH hollow{BS_HOLLOW, 0, 0};
        return GdiObject<HBRUSH>(CreateBrushIndirect(&hollow));
    }
    return GdiObject<HBRUSH>(CreateSolidBrush(brush.color()));
}

}  // namespace detail

namespace {

// The pixels a pen of this width can reach around the box of some points.
detail::Box PenBox(std::span<const POINT> points, std::int32_t penWidth) {
    detail::Box box{points[0].x, points[0].y, points[0].x, points[0].y};
    for (const POINT& p : points) {
        box.x0 = std::min<std::int64_t>(box.x0, p.x);
        box.y0 = std::min<std::int64_t>(box.y0, p.y);
        box.x1 = std::max<std::int64_t>(box.x1, p.x);
        box.y1 = std::max<std::int64_t>(box.y1, p.y);
    }
    const std::int64_t reach = penWidth + 1;
    return {box.x0 - reach, box.y0 - reach, box.x1 + reach, box.y1 + reach};
}

}  // namespace

bool DeviceContext::LineTo(std::int32_t x, std::int32_t y) {
    const POINT ends[] = {position_, {x, y}};
    detail::DrawTarget target(*surface_, PenBox(ends, pen_.width()));
    position_ = {x, y};
    if (!target.dc()) return true;
    const detail::GdiObject<HPEN> pen = detail::MakePen(pen_);
    detail::Selection selected(target.dc(), pen.get());
    ::MoveToEx(target.dc(), ends[0].x, ends[0].y, nullptr);
    return ::LineTo(target.dc(), x, y) != 0;
}

bool DeviceContext::Polygon(std::span<const POINT> points) {
    if (points.size() < 2) return false;
    detail::DrawTarget target(*surface_, PenBox(points, pen_.width()));
    if (!target.dc()) return true;
    const detail::GdiObject<HPEN> pen = detail::MakePen(pen_);
    const detail::GdiObject<HBRUSH> brush = detail::MakeBrush(brush_);
    detail::Selection selectedPen(target.dc(), pen.get());
    detail::Selection selectedBrush(target.dc(), brush.get());
    std::vector<::POINT> corners;
    corners.reserve(points.size());
    for (const POINT& p : points) corners.push_back({p.x, p.y});
    ::SetPolyFillMode(target.dc(), ALTERNATE);
    return ::Polygon(target.dc(), corners.data(), int(corners.size())) != 0;
}

}  // namespace gdi
