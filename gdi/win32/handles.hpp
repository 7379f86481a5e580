// RAII for GDI objects and device contexts, the drawing target of a surface, and UTF-16 text.
#pragma once

#include "gdi/win32/windows.hpp"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "gdi/gdi.hpp"
#include "gdi/internal.hpp"

namespace gdi {

// An owned surface: a top-down 32-bit DIB section selected into its own memory DC.
struct Surface::Storage {
    Storage() = default;
    Storage(const Storage&) = delete;
    Storage& operator=(const Storage&) = delete;
    ~Storage();
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
};

namespace detail {

// A GDI object (pen, brush, font, region, bitmap) deleted with its owner.
template <typename Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle h) : h_(h) {}
    GdiObject(GdiObject&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset();
            h_ = std::exchange(other.h_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(); }
    Handle get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset() {
        if (h_) DeleteObject(h_);
        h_ = nullptr;
    }

  private:
    Handle h_ = nullptr;
};

// A memory DC compatible with the screen, deleted with its owner.
class MemoryDc {
  public:
    MemoryDc() : dc_(CreateCompatibleDC(nullptr)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc_) DeleteDC(dc_);
    }
    HDC get() const { return dc_; }

  private:
    HDC dc_;
};

// Selects an object into a DC for one scope and puts the previous one back.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The DC one drawing call draws on. An owned surface is drawn on directly; a surface that wraps
// someone else's memory is copied into a scratch DIB section and the area the call touches is
// copied back. GDI writes alpha 0 into a 32-bit DIB, so afterwards every pixel of the touched
// area is made opaque, as the layer promises.
class DrawTarget {
  public:
    DrawTarget(Surface& surface, const Box& touched);
    // A read-only source (of a blit).
    explicit DrawTarget(const Surface& surface);
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;
    ~DrawTarget();
    HDC dc() const { return dc_; }

  private:
    void MakeScratch(const Surface& surface);
    Surface* out_ = nullptr;
    std::shared_ptr<Surface::Storage> scratch_;
    std::uint32_t* scratchBits_ = nullptr;
    HDC dc_ = nullptr;
    Box touched_;
};

// A GDI pen or brush for one of the layer's pens or brushes (a hollow brush stays hollow).
GdiObject<HPEN> MakePen(const Pen& pen);
GdiObject<HBRUSH> MakeBrush(const Brush& brush);

std::wstring ToWide(std::u32string_view text);
std::wstring ToWide(std::string_view utf8);
std::string FromWide(std::wstring_view text);

// A 32-bit top-down DIB header for width x height.
BITMAPINFO DibInfo(std::int32_t width, std::int32_t height);

}  // namespace detail

}  // namespace gdi
