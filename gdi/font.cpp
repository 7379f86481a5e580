// Fonts: faces resolved through fontconfig, metrics and advances from FreeType with full
// hinting at the pixel size, glyph images cached per font.
//
// Choices made here:
// - Advances always come from the 1-bit (fully hinted, hdmx-aware) load of a glyph, whatever the
//   smoothing, so that layout never depends on antialiasing.
// - Ascent and descent are the OS/2 usWinAscent and usWinDescent scaled to the pixel size and
//   rounded; fonts without an OS/2 table use the hhea ascender and descender instead.
// - A positive height is a cell height: ppem = round(height * unitsPerEm / (winAscent +
//   winDescent)); zero asks for a 16-pixel cell. The pixel size is kept within 1..kMaxPixelSize.
// - Family nibble of the pitch-and-family byte: fixed-pitch faces are modern; otherwise the OS/2
//   sFamilyClass decides, then the PANOSE family and serif style, then the family name.
// - The underline lies on the row of post.underlinePosition (the top of the suggested stroke),
//   the strike-out on the row of OS/2 yStrikeoutPosition; both are kept inside the cell.
// - Bold or italic asked of a face whose file has no such style is simulated, as Windows does:
//   FreeType emboldens or slants each hinted glyph, and the advance is the emboldened one, so
//   measuring and drawing agree. The metrics then report the simulated weight and slant.
#include "gdi/face_name.hpp"
#include "gdi/font_impl.hpp"

#include <fontconfig/fontconfig.h>

#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <list>
#include <map>
#include <tuple>

namespace gdi {

namespace {

constexpr std::int64_t kMaxPixelSize = 2048;
constexpr std::int64_t kDefaultCellHeight = 16;
constexpr std::int32_t kStockCellHeight = 13;

std::atomic<std::int64_t> g_liveFonts{0};

// ---- fontconfig -------------------------------------------------------------------------------

struct FcConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct FcPatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, FcPatternDeleter>;

std::mutex g_fontconfigMutex;

// The process's own configuration, shared with a host toolkit that has loaded it already
// (loading a second one costs milliseconds at start-up). Our reference keeps it alive even if the
// host later installs another one; queries are only reads and run under our mutex.
FcConfig* Config() {
    static std::unique_ptr<FcConfig, FcConfigDeleter> config(FcConfigReference(nullptr));
    return config.get();
}

struct Resolved {
    std::string family;
    std::string file;
    int index = 0;
    bool antialias = true;
    bool monospace = false;
};

std::string PatternString(FcPattern* p, const char* object) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(p, object, 0, &value) != FcResultMatch || !value) return {};
    return reinterpret_cast<const char*>(value);
}

Resolved MatchFace(const std::string& family, bool bold, bool italic) {
    Resolved out;
    FcConfig* config = Config();
    if (!config) return out;
    PatternPtr pattern(FcPatternCreate());
    if (!pattern) return out;
    const std::string name = family.empty() ? std::string("sans-serif") : family;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &result));
    if (!match) return out;
    out.family = PatternString(match.get(), FC_FAMILY);
    out.file = PatternString(match.get(), FC_FILE);
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &out.index);
    FcBool antialias = FcTrue;
    if (FcPatternGetBool(match.get(), FC_ANTIALIAS, 0, &antialias) == FcResultMatch) {
        out.antialias = antialias != FcFalse;
    }
    int spacing = FC_PROPORTIONAL;
    if (FcPatternGetInteger(match.get(), FC_SPACING, 0, &spacing) == FcResultMatch) {
        out.monospace = spacing >= FC_MONO;
    }
    return out;
}

// Matching is slow next to everything else a font does; the answer per request is cached.
Resolved Resolve(const std::string& family, bool bold, bool italic) {
    static std::map<std::tuple<std::string, bool, bool>, Resolved> cache;
    std::lock_guard lock(g_fontconfigMutex);
    const auto key = std::make_tuple(family, bold, italic);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    Resolved r = MatchFace(family, bold, italic);
    cache.emplace(key, r);
    return r;
}

// ---- face names -------------------------------------------------------------------------------

// ---- metrics ----------------------------------------------------------------------------------

std::int32_t Scale(std::int64_t units, std::int64_t ppem, std::int64_t unitsPerEm) {
    const std::int64_t num = units * ppem;
    const std::int64_t half = unitsPerEm / 2;
    return static_cast<std::int32_t>(num >= 0 ? (num + half) / unitsPerEm
                                              : -((-num + half) / unitsPerEm));
}

struct VerticalUnits {
    std::int64_t ascent = 0;
    std::int64_t descent = 0;
    std::int64_t unitsPerEm = 0;
};

VerticalUnits WinVertical(FT_Face face) {
    VerticalUnits v;
    v.unitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 1000;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && (os2->usWinAscent + os2->usWinDescent) > 0) {
        v.ascent = os2->usWinAscent;
        v.descent = os2->usWinDescent;
    } else {
        v.ascent = std::max<std::int64_t>(face->ascender, 0);
        v.descent = std::max<std::int64_t>(-std::int64_t(face->descender), 0);
    }
    if (v.ascent + v.descent <= 0) v.ascent = v.unitsPerEm;
    return v;
}

std::int64_t PixelsPerEm(const LOGFONT& lf, const VerticalUnits& v) {
    std::int64_t ppem = 0;
    if (lf.lfHeight < 0) {
        ppem = -std::int64_t(lf.lfHeight);
    } else {
        const std::int64_t cell = lf.lfHeight == 0 ? kDefaultCellHeight : lf.lfHeight;
        const std::int64_t total = v.ascent + v.descent;
        ppem = (cell * v.unitsPerEm * 2 + total) / (2 * total);
    }
    return std::clamp<std::int64_t>(ppem, 1, kMaxPixelSize);
}

std::uint8_t FamilyNibble(FT_Face face, bool monospace, const std::string& family) {
    if (monospace) return FF_MODERN;
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) {
        switch ((os2->sFamilyClass >> 8) & 0xFF) {
            case 1:
            case 2:
            case 3:
            case 4:
            case 5:
            case 7:
                return FF_ROMAN;
            case 8:
                return FF_SWISS;
            case 10:
                return FF_SCRIPT;
            case 9:
            case 12:
                return FF_DECORATIVE;
            default:
                break;
        }
        const std::uint8_t familyType = os2->panose[0];
        const std::uint8_t serifStyle = os2->panose[1];
        if (familyType == 2 && serifStyle >= 11 && serifStyle <= 13) return FF_SWISS;
        if (familyType == 2 && serifStyle >= 2 && serifStyle <= 10) return FF_ROMAN;
        if (familyType == 3) return FF_SCRIPT;
        if (familyType == 4 || familyType == 5) return FF_DECORATIVE;
    }
    if (family.find("Mono") != std::string::npos) return FF_MODERN;
    if (family.find("Sans") != std::string::npos) return FF_SWISS;
    if (family.find("Serif") != std::string::npos) return FF_ROMAN;
    return 0;
}

bool FaceIsBold(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF) return os2->usWeightClass >= 600;
    return (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
}

bool FaceIsItalic(FT_Face face) {
    return (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
}

void ComputeMetrics(Font::Impl& f, bool monospace) {
    TEXTMETRIC& tm = f.metrics;
    const LOGFONT& lf = f.description;
    tm.tmItalic = lf.lfItalic ? 1 : 0;
    tm.tmUnderlined = lf.lfUnderline ? 1 : 0;
    tm.tmStruckOut = lf.lfStrikeOut ? 1 : 0;
    FT_Face face = f.face.get();
    if (!face) {
        tm.tmAscent = f.pixelsPerEm;
        tm.tmHeight = f.pixelsPerEm;
        tm.tmWeight = 400;
        f.underlineRow = std::max(tm.tmHeight - 1, 0);
        f.strikeOutRow = tm.tmHeight / 2;
        return;
    }
    const VerticalUnits v = WinVertical(face);
    const std::int64_t ppem = f.pixelsPerEm;
    tm.tmAscent = Scale(v.ascent, ppem, v.unitsPerEm);
    tm.tmDescent = Scale(v.descent, ppem, v.unitsPerEm);
    tm.tmHeight = tm.tmAscent + tm.tmDescent;
    tm.tmInternalLeading = std::max<std::int32_t>(tm.tmHeight - f.pixelsPerEm, 0);
    tm.tmMaxCharWidth = Scale(face->max_advance_width, ppem, v.unitsPerEm);

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const auto* post = static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST));
    const bool hasOs2 = os2 && os2->version != 0xFFFF;
    tm.tmAveCharWidth = hasOs2 ? Scale(os2->xAvgCharWidth, ppem, v.unitsPerEm) : 0;
    tm.tmWeight =
        hasOs2 ? os2->usWeightClass : ((face->style_flags & FT_STYLE_FLAG_BOLD) ? 700 : 400);
    if (f.emboldened) tm.tmWeight = 700;
    if (f.slanted || (face->style_flags & FT_STYLE_FLAG_ITALIC)) tm.tmItalic = 1;
    if (hhea) {
        const std::int64_t hheaHeight = std::int64_t(hhea->Ascender) - hhea->Descender;
        const std::int64_t gap = hhea->Line_Gap - ((v.ascent + v.descent) - hheaHeight);
        tm.tmExternalLeading = std::max(Scale(gap, ppem, v.unitsPerEm), 0);
    }

    tm.tmPitchAndFamily = FamilyNibble(face, monospace, f.family);
    if (FT_IS_SCALABLE(face)) tm.tmPitchAndFamily |= TMPF_VECTOR | TMPF_TRUETYPE;
    if (!monospace && !FT_IS_FIXED_WIDTH(face)) tm.tmPitchAndFamily |= TMPF_FIXED_PITCH;

    const std::int32_t lastRow = std::max(tm.tmHeight - 1, 0);
    const std::int32_t underline =
        post ? tm.tmAscent - Scale(post->underlinePosition, ppem, v.unitsPerEm) : tm.tmAscent + 1;
    f.underlineRow = std::clamp(underline, 0, lastRow);
    const std::int32_t strike =
        hasOs2 ? tm.tmAscent - Scale(os2->yStrikeoutPosition, ppem, v.unitsPerEm)
               : tm.tmAscent - tm.tmAscent / 3;
    f.strikeOutRow = std::clamp(strike, 0, lastRow);
}

detail::FaceHandle OpenFace(const std::shared_ptr<detail::FreeTypeLibrary>& library,
                            const Resolved& r) {
    if (!library->handle || r.file.empty()) return {};
    std::lock_guard lock(library->mutex);
    FT_Face face = nullptr;
    if (FT_New_Face(library->handle, r.file.c_str(), r.index, &face) != 0) return {};
    return detail::FaceHandle(library, face);
}

std::shared_ptr<detail::FreeTypeLibrary> SharedLibrary() {
    static const std::shared_ptr<detail::FreeTypeLibrary> library =
        std::make_shared<detail::FreeTypeLibrary>();
    return library;
}

std::shared_ptr<Font::Impl> Realise(const LOGFONT& description) {
    auto f = std::make_shared<Font::Impl>();
    f->description = description;
    f->description.lfFaceName[LF_FACESIZE - 1] = '\0';
    f->library = SharedLibrary();

    const detail::FaceRequest request = detail::ParseFaceName(description);
    Resolved resolved = Resolve(request.family, request.bold, request.italic);
    f->face = OpenFace(f->library, resolved);
    if (!f->face) {  // an unreadable match: fall back to the default face
        resolved = Resolve(std::string(), request.bold, request.italic);
        f->face = OpenFace(f->library, resolved);
    }
    f->family = resolved.family;
    f->file = f->face ? resolved.file : std::string();

    switch (description.lfQuality) {
        case NONANTIALIASED_QUALITY:
            f->antialias = false;
            break;
        case ANTIALIASED_QUALITY:
            f->antialias = true;
            break;
        default:
            f->antialias = resolved.antialias;
            break;
    }

    if (f->face) {
        f->emboldened = request.bold && !FaceIsBold(f->face.get());
        f->slanted = request.italic && !FaceIsItalic(f->face.get());
        f->pixelsPerEm =
            static_cast<std::int32_t>(PixelsPerEm(description, WinVertical(f->face.get())));
        FT_Set_Pixel_Sizes(f->face.get(), 0, static_cast<FT_UInt>(f->pixelsPerEm));
    } else {
        f->pixelsPerEm = static_cast<std::int32_t>(std::clamp<std::int64_t>(
            description.lfHeight < 0 ? -std::int64_t(description.lfHeight) : kDefaultCellHeight, 1,
            kMaxPixelSize));
    }
    ComputeMetrics(*f, resolved.monospace);
    return f;
}

// 1-bit or 8-bit FreeType bitmap -> coverage rows, top row first.
detail::GlyphImage CopyBitmap(const FT_GlyphSlot slot) {
    detail::GlyphImage image;
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.pixel_mode != FT_PIXEL_MODE_MONO && bm.pixel_mode != FT_PIXEL_MODE_GRAY) return image;
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<std::int32_t>(bm.width);
    image.rows = static_cast<std::int32_t>(bm.rows);
    image.coverage.resize(static_cast<std::size_t>(image.width) * image.rows);
    const std::int64_t pitch = bm.pitch;
    for (std::int32_t r = 0; r < image.rows; ++r) {
        const std::int64_t memoryRow = pitch >= 0 ? r : (image.rows - 1 - r);
        const unsigned char* src = bm.buffer + memoryRow * (pitch >= 0 ? pitch : -pitch);
        std::uint8_t* dst = image.coverage.data() + std::size_t(r) * image.width;
        for (std::int32_t c = 0; c < image.width; ++c) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
                dst[c] = (src[c >> 3] & (0x80 >> (c & 7))) ? 255 : 0;
            } else {
                const unsigned grays = bm.num_grays > 1 ? bm.num_grays - 1 : 255;
                dst[c] = static_cast<std::uint8_t>(src[c] * 255u / grays);
            }
        }
    }
    return image;
}

}  // namespace

// ---- FreeType wrappers ------------------------------------------------------------------------

namespace detail {

FreeTypeLibrary::FreeTypeLibrary() {
    if (FT_Init_FreeType(&handle) != 0) handle = nullptr;
}

FreeTypeLibrary::~FreeTypeLibrary() {
    if (handle) FT_Done_FreeType(handle);
}

FaceHandle::~FaceHandle() {
    if (!face_) return;
    std::lock_guard lock(library_->mutex);
    FT_Done_Face(face_);
}

}  // namespace detail

// ---- Font::Impl -------------------------------------------------------------------------------

Font::Impl::Impl() = default;
Font::Impl::~Impl() = default;

detail::CachedGlyph& Font::Impl::Slot(char32_t ch) const {
    std::unique_ptr<detail::CachedGlyph>& slot = ch < 256 ? latin_[ch] : others_[ch];
    if (!slot) {
        slot = std::make_unique<detail::CachedGlyph>();
        LoadAdvance(ch, *slot);
    }
    return *slot;
}

// Loads the hinted glyph into the face's slot with any simulated style applied.
bool Font::Impl::LoadGlyph(char32_t ch, FT_Int32 target) const {
    FT_Face f = face.get();
    if (!f) return false;
    if (FT_Load_Glyph(f, FT_Get_Char_Index(f, ch), FT_LOAD_DEFAULT | target) != 0) return false;
    if (slanted) FT_GlyphSlot_Oblique(f->glyph);
    if (emboldened) FT_GlyphSlot_Embolden(f->glyph);
    return true;
}

void Font::Impl::LoadAdvance(char32_t ch, detail::CachedGlyph& glyph) const {
    if (!LoadGlyph(ch, FT_LOAD_TARGET_MONO)) return;
    glyph.advance = static_cast<std::int32_t>((face.get()->glyph->advance.x + 32) >> 6);
}

void Font::Impl::Render(char32_t ch, detail::CachedGlyph& glyph) const {
    glyph.rendered = true;
    if (!LoadGlyph(ch, antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO)) return;
    const FT_Render_Mode mode = antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO;
    FT_GlyphSlot slot = face.get()->glyph;
    if (FT_Render_Glyph(slot, mode) != 0) return;
    glyph.image = CopyBitmap(slot);
}

const detail::CachedGlyph& Font::Impl::Glyph(char32_t ch, bool needImage) const {
    detail::CachedGlyph& glyph = Slot(ch);
    if (needImage && !glyph.rendered) Render(ch, glyph);
    return glyph;
}

void Font::Impl::ClearCache() const {
    for (auto& slot : latin_) slot.reset();
    others_.clear();
}

// ---- Font -------------------------------------------------------------------------------------

Font::Font() {
    static const std::shared_ptr<Impl> stock = [] {
        LOGFONT lf;
        lf.lfHeight = kStockCellHeight;
        return Realise(lf);
    }();
    d_ = stock;
}

namespace {

// Realised fonts are kept for reuse: a caption font is created and deleted on every redraw, and
// opening the face and hinting its glyphs again each time would cost far more than the drawing.
// A handful of recent descriptions stay realised; the handles given out are counted as live fonts.
class RealisedFontCache {
  public:
    std::shared_ptr<Font::Impl> Get(const LOGFONT& description) {
        const std::string key = KeyOf(description);
        std::lock_guard lock(mutex_);
        for (auto it = recent_.begin(); it != recent_.end(); ++it) {
            if (it->first == key) {
                if (it != recent_.begin()) recent_.splice(recent_.begin(), recent_, it);
                return recent_.front().second;
            }
        }
        recent_.emplace_front(key, Realise(description));
        if (recent_.size() > kCapacity) recent_.pop_back();
        return recent_.front().second;
    }

  private:
    static constexpr std::size_t kCapacity = 16;
    static std::string KeyOf(const LOGFONT& d) {
        LOGFONT copy = d;
        copy.lfFaceName[LF_FACESIZE - 1] = '\0';
        std::string key(reinterpret_cast<const char*>(&copy.lfHeight), 5 * sizeof(std::int32_t));
        key.append(reinterpret_cast<const char*>(&copy.lfItalic), 8);
        key.append(copy.FaceName());
        return key;
    }
    std::mutex mutex_;
    std::list<std::pair<std::string, std::shared_ptr<Font::Impl>>> recent_;
};

RealisedFontCache& FontCache() {
    static RealisedFontCache cache;
    return cache;
}

}  // namespace

Font Font::Create(const LOGFONT& description) {
    std::shared_ptr<Impl> realised = FontCache().Get(description);
    g_liveFonts.fetch_add(1, std::memory_order_relaxed);
    Font font;
    // Each handle has its own count but shares the realised face and its glyph cache.
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

std::string Font::ResolvedFile() const {
    return d_->file;
}

TEXTMETRIC Font::Metrics() const {
    return d_->metrics;
}

std::int32_t Font::Advance(char32_t ch) const {
    std::lock_guard lock(d_->mutex);
    return d_->Glyph(ch, false).advance;
}

std::vector<std::int32_t> Font::Advances(std::u32string_view text) const {
    std::vector<std::int32_t> out;
    out.reserve(text.size());
    std::lock_guard lock(d_->mutex);
    for (char32_t ch : text) out.push_back(d_->Glyph(ch, false).advance);
    return out;
}

std::int32_t Font::TextWidth(std::u32string_view text) const {
    std::int64_t width = 0;
    std::lock_guard lock(d_->mutex);
    for (char32_t ch : text) width += d_->Glyph(ch, false).advance;
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
