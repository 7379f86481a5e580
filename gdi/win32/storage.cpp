// Owned pixels in a 32-bit DIB section selected into a memory DC; surfaces that wrap memory get
// a scratch copy for each drawing call.
#include <algorithm>
#include <cstring>

#include "gdi/storage.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

Surface::Storage::~Storage() {
    if (dc && previous) SelectObject(dc, previous);
    if (bitmap) DeleteObject(bitmap);
    if (dc) DeleteDC(dc);
}

namespace detail {

BITMAPINFO DibInfo(std::int32_t width, std::int32_t height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down: row 0 first, as the surface
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

std::shared_ptr<Surface::Storage> AllocateStorage(std::int32_t width, std::int32_t height,
                                                  std::uint32_t*& bits) {
    auto storage = std::make_shared<Surface::Storage>();
    storage->dc = CreateCompatibleDC(nullptr);
    if (!storage->dc) throw Error("no memory device context for a surface");
    const BITMAPINFO info = DibInfo(width, height);
    void* pixels = nullptr;
    storage->bitmap = CreateDIBSection(storage->dc, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    if (!storage->bitmap || !pixels) {
        throw Error("no DIB section for a " + std::to_string(width) + " x " +
                    std::to_string(height) + " surface");
    }
    storage->previous = SelectObject(storage->dc, storage->bitmap);
    bits = static_cast<std::uint32_t*>(pixels);
    return storage;
}

void DrawTarget::MakeScratch(const Surface& surface) {
    scratch_ = AllocateStorage(surface.width(), surface.height(), scratchBits_);
    for (std::int32_t y = 0; y < surface.height(); ++y) {
        std::memcpy(scratchBits_ + std::ptrdiff_t(y) * surface.width(), surface.row(y),
                    std::size_t(surface.width()) * sizeof(std::uint32_t));
    }
    dc_ = scratch_->dc;
}

DrawTarget::DrawTarget(Surface& surface, const Box& touched)
    : out_(&surface), touched_(Intersect(touched, SurfaceBox(surface))) {
    if (surface.empty()) return;
    if (surface.storage()) {
        dc_ = surface.storage()->dc;
    } else {
        MakeScratch(surface);
    }
}

DrawTarget::DrawTarget(const Surface& surface) {
    if (surface.empty()) return;
    if (surface.storage()) {
        dc_ = surface.storage()->dc;
    } else {
        MakeScratch(surface);
    }
}

DrawTarget::~DrawTarget() {
    if (!dc_) return;
    GdiFlush();
    if (!out_ || touched_.empty()) return;
    for (std::int64_t y = touched_.y0; y < touched_.y1; ++y) {
        std::uint32_t* to = out_->row(static_cast<std::int32_t>(y));
        const std::uint32_t* from =
            scratch_ ? scratchBits_ + std::ptrdiff_t(y) * out_->width() : to;
        for (std::int64_t x = touched_.x0; x < touched_.x1; ++x) to[x] = from[x] | 0xFF000000u;
    }
}

// ---- UTF-16 -----------------------------------------------------------------------------------

std::wstring ToWide(std::u32string_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c >= 0x10000) {
            c -= 0x10000;
            out.push_back(wchar_t(0xD800 + (c >> 10)));
            out.push_back(wchar_t(0xDC00 + (c & 0x3FF)));
        } else {
            out.push_back(wchar_t(c));
        }
    }
    return out;
}

std::wstring ToWide(std::string_view utf8) {
    return ToWide(Utf8ToUtf32(utf8));
}

std::string FromWide(std::wstring_view text) {
    std::u32string wide;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<std::uint16_t>(text[i]);
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            const char32_t low = static_cast<std::uint16_t>(text[i + 1]);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        wide.push_back(c);
    }
    return Utf32ToUtf8(wide);
}

}  // namespace detail

}  // namespace gdi
