// USER rectangles: FillRect, FrameRect and DrawFocusRect themselves.
#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

namespace {

::RECT ToRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

// Inverted rectangles draw nothing, as the layer promises everywhere.
int DeviceContext::FillRect(const RECT& r, const Brush& brush) {
    if (brush.hollow() || IsRectEmpty(r)) return 1;
    detail::DrawTarget target(*surface_, detail::RectBox(r));
    if (!target.dc()) return 1;
    const detail::GdiObject<HBRUSH> solid = detail::MakeBrush(brush);
    const ::RECT rc = ToRect(r);
    return ::FillRect(target.dc(), &rc, solid.get());
}

int DeviceContext::FrameRect(const RECT& r, const Brush& brush) {
    if (brush.hollow() || IsRectEmpty(r)) return 1;
    detail::DrawTarget target(*surface_, detail::RectBox(r));
    if (!target.dc()) return 1;
    const detail::GdiObject<HBRUSH> solid = detail::MakeBrush(brush);
    const ::RECT rc = ToRect(r);
    return ::FrameRect(target.dc(), &rc, solid.get());
}

bool DeviceContext::DrawFocusRect(const RECT& r) {
    if (IsRectEmpty(r)) return true;
    detail::DrawTarget target(*surface_, detail::RectBox(r));
    if (!target.dc()) return true;
    const ::RECT rc = ToRect(r);
    return ::DrawFocusRect(target.dc(), &rc) != 0;
}

}  // namespace gdi
