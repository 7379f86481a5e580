// Text on a device context through GDI: metrics and one-line measuring from the font mapper,
// output with ExtTextOutW (the font's escapement turns the text).
#include <algorithm>
#include <climits>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"
#include "gdi/win32/font_impl.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

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
    const Font::Impl& f = font_.impl();
    const std::wstring units = detail::ToWide(text);
    ::RECT measured{r.left, r.top, r.left, r.top};
    std::lock_guard lock(f.mutex);
    const int height =
        DrawTextW(f.measuring.get(), units.data(), int(units.size()), &measured, format);
    if (height == 0) return 0;
    r.right = measured.right;
    r.bottom = measured.bottom;
    return height;
}

std::int32_t DeviceContext::DrawText(std::string_view utf8, RECT& r, std::uint32_t format) const {
    return DrawText(Utf8ToUtf32(utf8), r, format);
}

// The pixels text can reach from (x, y) in any of its directions, overhangs included.
bool DeviceContext::TextOut(std::int32_t x, std::int32_t y, std::u32string_view text) {
    if (text.empty()) return true;
    const Font::Impl& f = font_.impl();
    const std::int64_t reach = std::int64_t(font_.TextWidth(text)) + 2 * f.metrics.tmHeight;
    const detail::Box box{x - reach, y - reach, x + reach, y + reach};
    const std::wstring units = detail::ToWide(text);

    detail::DrawTarget target(*surface_, box);
    if (!target.dc()) return true;
    const HDC dc = target.dc();
    detail::Selection font(dc, f.font.get());
    ::SetTextColor(dc, textColor_);
    ::SetBkColor(dc, bkColor_);
    ::SetBkMode(dc, bkMode_);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    return ExtTextOutW(dc, x, y, 0, nullptr, units.data(), UINT(units.size()), nullptr) != 0;
}

bool DeviceContext::TextOut(std::int32_t x, std::int32_t y, std::string_view utf8) {
    return TextOut(x, y, Utf8ToUtf32(utf8));
}

}  // namespace gdi
