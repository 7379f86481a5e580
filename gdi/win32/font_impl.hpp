// The realised font behind gdi::Font on Windows: the GDI font, the face GDI chose, its metrics,
// and a cache of advance widths measured on a memory DC of its own.
#pragma once

#include "gdi/win32/windows.hpp"

#include <mutex>
#include <string>
#include <unordered_map>

#include "gdi/gdi.hpp"
#include "gdi/win32/handles.hpp"

namespace gdi {

struct Font::Impl {
    explicit Impl(const LOGFONT& description);
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    LOGFONT description;
    detail::GdiObject<HFONT> font;
    std::string family;
    TEXTMETRIC metrics;

    // Needs `mutex` held.
    std::int32_t Advance(char32_t ch) const;
    void ClearCache() const { advances_.clear(); }

    mutable std::mutex mutex;
    detail::MemoryDc measuring;  // the font stays selected into it

  private:
    mutable std::unordered_map<char32_t, std::int32_t> advances_;
};

}  // namespace gdi
