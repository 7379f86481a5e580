// Pens, brushes, face-name fields and the UTF-8 helpers of the text calls.
#include <algorithm>
#include <atomic>
#include <cstring>

#include "gdi/gdi.hpp"

namespace gdi {

namespace {

std::atomic<std::int64_t> g_livePens{0};
std::atomic<std::int64_t> g_liveBrushes{0};

// Counts itself so that tests can see every pen or brush released.
template <std::atomic<std::int64_t>& Counter>
struct Counted {
    Counted() { Counter.fetch_add(1, std::memory_order_relaxed); }
    Counted(const Counted&) { Counter.fetch_add(1, std::memory_order_relaxed); }
    Counted& operator=(const Counted&) = default;
    ~Counted() { Counter.fetch_sub(1, std::memory_order_relaxed); }
};

}  // namespace

// ---- Pen --------------------------------------------------------------------------------------

struct Pen::Data : Counted<g_livePens> {
    COLORREF color = 0;
    std::int32_t width = 1;
    PenStyle style = PenStyle::Solid;
};

Pen::Pen() {
    // The stock pen is shared for the life of the process, as stock objects are never deleted.
    static const std::shared_ptr<const Data> stock = std::make_shared<const Data>();
    d_ = stock;
}

Pen Pen::Solid(COLORREF color, std::int32_t width) {
    auto data = std::make_shared<Data>();
    data->color = color & 0x00FFFFFFu;
    data->width = std::max(width, 1);  // width 0 means the thinnest line, as in GDI
    Pen pen;
    pen.d_ = std::move(data);
    return pen;
}

Pen Pen::Null() {
    auto data = std::make_shared<Data>();
    data->style = PenStyle::Null;
    Pen pen;
    pen.d_ = std::move(data);
    return pen;
}

COLORREF Pen::color() const {
    return d_->color;
}
std::int32_t Pen::width() const {
    return d_->width;
}
PenStyle Pen::style() const {
    return d_->style;
}
std::int64_t Pen::LiveCount() {
    return g_livePens.load(std::memory_order_relaxed);
}

// ---- Brush ------------------------------------------------------------------------------------

struct Brush::Data : Counted<g_liveBrushes> {
    COLORREF color = 0xFFFFFF;
    bool hollow = false;
};

Brush::Brush() {
    static const std::shared_ptr<const Data> stock = std::make_shared<const Data>();
    d_ = stock;
}

Brush Brush::Solid(COLORREF color) {
    auto data = std::make_shared<Data>();
    data->color = color & 0x00FFFFFFu;
    Brush brush;
    brush.d_ = std::move(data);
    return brush;
}

Brush Brush::Hollow() {
    auto data = std::make_shared<Data>();
    data->hollow = true;
    data->color = 0;
    Brush brush;
    brush.d_ = std::move(data);
    return brush;
}

bool Brush::hollow() const {
    return d_->hollow;
}
COLORREF Brush::color() const {
    return d_->color;
}
std::int64_t Brush::LiveCount() {
    return g_liveBrushes.load(std::memory_order_relaxed);
}

// ---- LOGFONT face field -----------------------------------------------------------------------

void LOGFONT::SetFaceName(std::string_view name) {
    lfFaceName.fill('\0');
    const std::size_t n = std::min(name.size(), LF_FACESIZE - 1);
    std::memcpy(lfFaceName.data(), name.data(), n);
}

std::string LOGFONT::FaceName() const {
    const char* begin = lfFaceName.data();
    const char* end = std::find(begin, begin + (LF_FACESIZE - 1), '\0');
    return std::string(begin, end);
}

// ---- UTF-8 ------------------------------------------------------------------------------------

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Decodes one sequence at text[i]; advances i past it. Malformed input yields U+FFFD and
// consumes exactly one byte, so that a valid sequence after it is never swallowed.
char32_t DecodeOne(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    std::size_t length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    if (i + length > text.size()) {
        ++i;
        return kReplacement;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(text[i + k]);
        if (!IsContinuation(c)) {
            ++i;
            return kReplacement;
        }
        value = (value << 6) | (c & 0x3F);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < minimum || value > 0x10FFFF || surrogate) {
        ++i;
        return kReplacement;
    }
    i += length;
    return value;
}

}  // namespace

std::u32string Utf8ToUtf32(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) out.push_back(DecodeOne(utf8, i));
    return out;
}

std::string Utf32ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) {
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = kReplacement;
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

}  // namespace gdi
