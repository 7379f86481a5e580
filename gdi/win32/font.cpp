// Fonts on the platform's font mapper: CreateFontIndirectW realises the description, and
// GetTextMetricsW and the advance widths come from GDI itself.
#include <algorithm>
#include <atomic>
#include <climits>

#include "gdi/face_name.hpp"
#include "gdi/win32/font_impl.hpp"

namespace gdi {

namespace {

constexpr std::int32_t kStockCellHeight = 13;

std::atomic<std::int64_t> g_liveFonts{0};

// The description as GDI takes it: style words of the face name become weight and italic, so
// that "Arial Bold" asks for the family "Arial" in bold as it does everywhere else.
LOGFONTW ToLogFontW(const LOGFONT& lf) {
    const detail::FaceRequest request = detail::ParseFaceName(lf);
    LOGFONTW w{};
    w.lfHeight = lf.lfHeight;
    w.lfWidth = lf.lfWidth;
    w.lfEscapement = lf.lfEscapement;
    w.lfOrientation = lf.lfOrientation;
    w.lfWeight = request.bold ? std::max<LONG>(lf.lfWeight, FW_BOLD) : lf.lfWeight;
    w.lfItalic = request.italic ? 1 : 0;
    w.lfUnderline = lf.lfUnderline;
    w.lfStrikeOut = lf.lfStrikeOut;
    w.lfCharSet = lf.lfCharSet;
    w.lfOutPrecision = lf.lfOutPrecision;
    w.lfClipPrecision = lf.lfClipPrecision;
    w.lfQuality = lf.lfQuality;
    w.lfPitchAndFamily = lf.lfPitchAndFamily;
    const std::wstring face = detail::ToWide(request.family);
    std::copy_n(face.begin(), std::min<std::size_t>(face.size(), LF_FACESIZE - 1), w.lfFaceName);
    return w;
}

TEXTMETRIC FromTextMetricW(const TEXTMETRICW& t) {
    TEXTMETRIC m;
    m.tmHeight = t.tmHeight;
    m.tmAscent = t.tmAscent;
    m.tmDescent = t.tmDescent;
    m.tmInternalLeading = t.tmInternalLeading;
    m.tmExternalLeading = t.tmExternalLeading;
    m.tmAveCharWidth = t.tmAveCharWidth;
    m.tmMaxCharWidth = t.tmMaxCharWidth;
    m.tmWeight = t.tmWeight;
    m.tmItalic = t.tmItalic;
    m.tmUnderlined = t.tmUnderlined;
    m.tmStruckOut = t.tmStruckOut;
    m.tmPitchAndFamily = t.tmPitchAndFamily;
    return m;
}

}  // namespace

Font::Impl::Impl(const LOGFONT& d) : description(d) {
    const LOGFONTW w = ToLogFontW(d);
    font = detail::GdiObject<HFONT>(CreateFontIndirectW(&w));
    if (!font) throw Error("the font mapper refused the face \"" + d.FaceName() + "\"");
    SelectObject(measuring.get(), font.get());
    wchar_t face[LF_FACESIZE] = {};
    const int length = GetTextFaceW(measuring.get(), LF_FACESIZE, face);
    family = detail::FromWide(std::wstring_view(face, std::size_t(std::max(length - 1, 0))));
    TEXTMETRICW tm{};
    GetTextMetricsW(measuring.get(), &tm);
    metrics = FromTextMetricW(tm);
}

std::int32_t Font::Impl::Advance(char32_t ch) const {
    if (auto it = advances_.find(ch); it != advances_.end()) return it->second;
    const std::wstring units = detail::ToWide(std::u32string_view(&ch, 1));
    ::SIZE size{};
    std::int32_t advance = 0;
    if (GetTextExtentPoint32W(measuring.get(), units.data(), int(units.size()), &size)) {
        advance = size.cx;
    }
    advances_.emplace(ch, advance);
    return advance;
}

Font::Font() {
    static const std::shared_ptr<Impl> stock = [] {
        LOGFONT lf;
        lf.lfHeight = kStockCellHeight;
        lf.lfPitchAndFamily = FF_SWISS;
        return std::make_shared<Impl>(lf);
    }();
    d_ = stock;
}

Font Font::Create(const LOGFONT& description) {
    auto realised = std::make_shared<Impl>(description);
    g_liveFonts.fetch_add(1, std::memory_order_relaxed);
    Font font;
    Impl* raw = realised.get();
    font.d_ = std::shared_ptr<Impl>(raw, [keep = std::move(realised)](Impl*) {
        g_liveFonts.fetch_sub(1, std::memory_order_relaxed);
    });
    return font;
}

const LOGFONT& Font::description() const {
    return d_->description;
}

std::string Font::ResolvedFamily() const {
    return d_->family;
}

// The font mapper does not say which file a face comes from.
std::string Font::ResolvedFile() const {
    return {};
}

TEXTMETRIC Font::Metrics() const {
    return d_->metrics;
}

std::int32_t Font::Advance(char32_t ch) const {
    std::lock_guard lock(d_->mutex);
    return d_->Advance(ch);
}

std::vector<std::int32_t> Font::Advances(std::u32string_view text) const {
    std::vector<std::int32_t> out;
    out.reserve(text.size());
    std::lock_guard lock(d_->mutex);
    for (char32_t ch : text) out.push_back(d_->Advance(ch));
    return out;
}

std::int32_t Font::TextWidth(std::u32string_view text) const {
    std::int64_t width = 0;
    std::lock_guard lock(d_->mutex);
    for (char32_t ch : text) width += d_->Advance(ch);
    return static_cast<std::int32_t>(std::min<std::int64_t>(width, INT32_MAX));
}

void Font::ClearGlyphCache() const {
    std::lock_guard lock(d_->mutex);
    d_->ClearCache();
}

std::int64_t Font::LiveCount() {
    return g_liveFonts.load(std::memory_order_relaxed);
}

}  // namespace gdi
