// The realised font behind gdi::Font: the fontconfig answer, the FreeType face at the pixel
// size, the metrics, and the per-font cache of advances and rasterised glyphs.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "gdi/gdi.hpp"

namespace gdi {

namespace detail {

// One FT_Library for the process. FreeType wants face creation and destruction on a library
// serialised; every face holds the library alive until it is done with it.
struct FreeTypeLibrary {
    FreeTypeLibrary();
    ~FreeTypeLibrary();
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;
    FT_Library handle = nullptr;
    std::mutex mutex;
};

class FaceHandle {
  public:
    FaceHandle() = default;
    FaceHandle(std::shared_ptr<FreeTypeLibrary> library, FT_Face face)
        : library_(std::move(library)), face_(face) {}
    ~FaceHandle();
    FaceHandle(const FaceHandle&) = delete;
    FaceHandle& operator=(const FaceHandle&) = delete;
    FaceHandle(FaceHandle&& other) noexcept
        : library_(std::move(other.library_)), face_(std::exchange(other.face_, nullptr)) {}
    FaceHandle& operator=(FaceHandle&& other) noexcept {
        FaceHandle doomed(std::move(*this));
        library_ = std::move(other.library_);
        face_ = std::exchange(other.face_, nullptr);
        return *this;
    }
    FT_Face get() const { return face_; }
    explicit operator bool() const { return face_ != nullptr; }

  private:
    std::shared_ptr<FreeTypeLibrary> library_;
    FT_Face face_ = nullptr;
};

// A rasterised glyph: coverage 0..255 (0 or 255 for 1-bit glyphs), placed relative to the pen
// position on the baseline: columns from `left`, rows from `top` pixels above the baseline.
struct GlyphImage {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t rows = 0;
    std::vector<std::uint8_t> coverage;
};

struct CachedGlyph {
    std::int32_t advance = 0;
    bool rendered = false;
    GlyphImage image;
};

}  // namespace detail

struct Font::Impl {
    Impl();
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    LOGFONT description;
    std::string family;
    std::string file;
    std::shared_ptr<detail::FreeTypeLibrary> library;
    detail::FaceHandle face;
    std::int32_t pixelsPerEm = 0;
    bool antialias = false;
    // The face lacks the bold or italic style asked for: FreeType simulates it on every glyph.
    bool emboldened = false;
    bool slanted = false;
    TEXTMETRIC metrics;
    std::int32_t underlineRow = 0;  // rows from the top of the cell
    std::int32_t strikeOutRow = 0;

    // Both need `mutex` held. The reference stays valid until the cache is cleared.
    const detail::CachedGlyph& Glyph(char32_t ch, bool needImage) const;
    void ClearCache() const;

    mutable std::mutex mutex;

  private:
    detail::CachedGlyph& Slot(char32_t ch) const;
    bool LoadGlyph(char32_t ch, FT_Int32 target) const;
    void LoadAdvance(char32_t ch, detail::CachedGlyph& glyph) const;
    void Render(char32_t ch, detail::CachedGlyph& glyph) const;

    mutable std::array<std::unique_ptr<detail::CachedGlyph>, 256> latin_;
    mutable std::unordered_map<char32_t, std::unique_ptr<detail::CachedGlyph>> others_;
};

}  // namespace gdi
