// Two-vertex rectangle gradients with GradientFill.
#include <algorithm>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

bool DeviceContext::GradientFill(const TRIVERTEX& a, const TRIVERTEX& b, std::uint32_t mode) {
    if (mode != GRADIENT_FILL_RECT_H && mode != GRADIENT_FILL_RECT_V) return false;
    const detail::Box area{std::min<std::int64_t>(a.x, b.x), std::min<std::int64_t>(a.y, b.y),
                           std::max<std::int64_t>(a.x, b.x), std::max<std::int64_t>(a.y, b.y)};
    if (area.empty()) return true;
    detail::DrawTarget target(*surface_, area);
    if (!target.dc()) return true;
    ::TRIVERTEX vertices[2] = {{a.x, a.y, a.Red, a.Green, a.Blue, a.Alpha},
                               {b.x, b.y, b.Red, b.Green, b.Blue, b.Alpha}};
    GRADIENT_RECT rect{0, 1};
    return ::GradientFill(target.dc(), vertices, 2, &rect, 1, mode) != 0;
}

}  // namespace gdi
