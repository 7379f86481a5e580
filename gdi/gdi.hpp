// The device-context layer: surfaces, pens, brushes, fonts, regions and the drawing calls of the
// classic Windows GDI/USER API, with their pixel rules, and nothing that knows about buttons.
//
// Colours are COLORREF values 0x00BBGGRR (red in the low byte). Surfaces store pixels as native
// 32-bit words 0xAARRGGBB so that a host can present them without a copy; every drawing call
// writes opaque pixels (alpha 0xFF). Coordinates: x to the right, y downwards; rectangles include
// their left/top edge and exclude their right/bottom edge; lines exclude their end point.
//
// Every object is an RAII value: Pen, Brush, Font and Region share their immutable data, so a copy
// is cheap and the data is freed with the last copy. Selecting an object into a DeviceContext
// returns the object that was selected before, as SelectObject does.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace gdi {

using COLORREF = std::uint32_t;
constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t GetGValue(COLORREF c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t GetBValue(COLORREF c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

/// Surface word (0xAARRGGBB) <-> COLORREF (0x00BBGGRR).
constexpr std::uint32_t ToPixel(COLORREF c, std::uint8_t alpha = 0xFF) {
    return (std::uint32_t(alpha) << 24) | (std::uint32_t(GetRValue(c)) << 16) |
           (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF FromPixel(std::uint32_t p) {
    return RGB(std::uint8_t((p >> 16) & 0xFF), std::uint8_t((p >> 8) & 0xFF),
               std::uint8_t(p & 0xFF));
}
constexpr std::uint8_t PixelAlpha(std::uint32_t p) {
    return std::uint8_t(p >> 24);
}

struct POINT {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    std::int32_t cx = 0;
    std::int32_t cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const RECT&, const RECT&) = default;
};

/// USER rectangle helpers (always succeed on a valid reference, as their Windows namesakes do).
bool InflateRect(RECT& r, std::int32_t dx, std::int32_t dy);
bool OffsetRect(RECT& r, std::int32_t dx, std::int32_t dy);
bool CopyRect(RECT& dst, const RECT& src);
bool IsRectEmpty(const RECT& r);

/// Raised for requests the layer refuses outright (for example a surface above 32,767 pixels).
class Error : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

constexpr std::int32_t kMaxSurfaceSide = 32767;

/// A 32-bit image. Either owns its pixels or wraps memory owned by someone else (a host's image),
/// which must outlive the surface. A 0 x 0 surface is valid and ignores every write.
class Surface {
  public:
    Surface() = default;
    /// Owned, filled with opaque black (0xFF000000). Throws Error for a negative side or a side
    /// above kMaxSurfaceSide.
    Surface(std::int32_t width, std::int32_t height);
    /// Wraps external memory; stride is in 32-bit words (>= width).
    Surface(std::uint32_t* external, std::int32_t width, std::int32_t height, std::int32_t stride);

    /// A moved-from surface is left empty (0 x 0), never pointing at pixels it gave away.
    Surface(Surface&& other) noexcept;
    Surface& operator=(Surface&& other) noexcept;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    /// A deep copy that owns its pixels.
    Surface Clone() const;

    std::int32_t width() const { return width_; }
    std::int32_t height() const { return height_; }
    std::int32_t stride() const { return stride_; }  // in 32-bit words
    bool empty() const { return width_ <= 0 || height_ <= 0; }
    bool ownsPixels() const { return storage_ != nullptr || empty(); }

    /// The platform's store behind owned pixels: a plain buffer, or on Windows a 32-bit DIB section
    /// selected into a memory DC that the drawing calls draw on. Null for wrapped memory.
    struct Storage;
    Storage* storage() const { return storage_.get(); }

    std::uint32_t* bits() { return data_; }
    const std::uint32_t* bits() const { return data_; }
    std::uint32_t* row(std::int32_t y) { return data_ + std::ptrdiff_t(y) * stride_; }
    const std::uint32_t* row(std::int32_t y) const { return data_ + std::ptrdiff_t(y) * stride_; }

    bool contains(std::int32_t x, std::int32_t y) const {
        return x >= 0 && y >= 0 && x < width_ && y < height_;
    }
    /// Raw word access with bounds check: out of range reads 0 and ignores writes.
    std::uint32_t at(std::int32_t x, std::int32_t y) const;
    void set(std::int32_t x, std::int32_t y, std::uint32_t pixel);
    void fill(std::uint32_t pixel);

  private:
    std::shared_ptr<Storage> storage_;
    std::uint32_t* data_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int32_t stride_ = 0;
};

// ---- Pens and brushes -------------------------------------------------------------------------

enum class PenStyle { Solid, Null };

class Pen {
  public:
    Pen();  // the stock black solid 1-pixel pen
    static Pen Solid(COLORREF color, std::int32_t width = 1);
    static Pen Null();
    COLORREF color() const;
    std::int32_t width() const;
    PenStyle style() const;
    static std::int64_t LiveCount();  // pens alive (for leak checks in tests)

  private:
    struct Data;
    std::shared_ptr<const Data> d_;
};

class Brush {
  public:
    Brush();  // the stock white solid brush
    static Brush Solid(COLORREF color);
    static Brush Hollow();
    bool hollow() const;
    COLORREF color() const;
    static std::int64_t LiveCount();

  private:
    struct Data;
    std::shared_ptr<const Data> d_;
};

// ---- Fonts ------------------------------------------------------------------------------------

constexpr std::size_t LF_FACESIZE = 32;

/// Output quality: DEFAULT_QUALITY follows the desktop's fontconfig antialias setting (greyscale
/// coverage blended over the surface); NONANTIALIASED_QUALITY draws 1-bit glyphs, as classic GDI.
enum : std::uint8_t {
    DEFAULT_QUALITY = 0,
    DRAFT_QUALITY = 1,
    PROOF_QUALITY = 2,
    NONANTIALIASED_QUALITY = 3,
    ANTIALIASED_QUALITY = 4,
};

struct LOGFONT {
    std::int32_t lfHeight = 0;  // < 0: character height (pixels per em); > 0: cell height
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;  // tenths of a degree: 0, 900, 2700 are supported
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    std::uint8_t lfItalic = 0;
    std::uint8_t lfUnderline = 0;
    std::uint8_t lfStrikeOut = 0;
    std::uint8_t lfCharSet = 0;
    std::uint8_t lfOutPrecision = 0;
    std::uint8_t lfClipPrecision = 0;
    std::uint8_t lfQuality = DEFAULT_QUALITY;
    std::uint8_t lfPitchAndFamily = 0;
    /// Face name, e.g. "Times New Roman", "Arial Bold Italic". The layer reads at most
    /// LF_FACESIZE - 1 characters, so a field filled to the end is still terminated.
    std::array<char, LF_FACESIZE> lfFaceName{};

    void SetFaceName(std::string_view name);  // copies and always terminates
    std::string FaceName() const;             // up to the first zero or LF_FACESIZE - 1 chars
};

/// TMPF_* bits of tmPitchAndFamily and FF_* families (high nibble).
enum : std::uint8_t {
    TMPF_FIXED_PITCH = 0x01,  // set means variable pitch (the classic inverted name)
    TMPF_VECTOR = 0x02,
    TMPF_TRUETYPE = 0x04,
    TMPF_DEVICE = 0x08,
    FF_ROMAN = 0x10,
    FF_SWISS = 0x20,
    FF_MODERN = 0x30,
    FF_SCRIPT = 0x40,
    FF_DECORATIVE = 0x50,
};

struct TEXTMETRIC {
    std::int32_t tmHeight = 0;
    std::int32_t tmAscent = 0;
    std::int32_t tmDescent = 0;
    std::int32_t tmInternalLeading = 0;
    std::int32_t tmExternalLeading = 0;
    std::int32_t tmAveCharWidth = 0;
    std::int32_t tmMaxCharWidth = 0;
    std::int32_t tmWeight = 0;
    std::uint8_t tmItalic = 0;
    std::uint8_t tmUnderlined = 0;
    std::uint8_t tmStruckOut = 0;
    std::uint8_t tmPitchAndFamily = 0;
};

class Font {
  public:
    Font();  // the stock system font (default sans face, 13 pixels high)
    /// Resolves the face through fontconfig (style words " Bold"/" Italic" stripped from the name
    /// and asked for as a style); never fails: a missing name falls back to the default face, and
    /// ResolvedFamily() and the metrics say what was found.
    static Font Create(const LOGFONT& description);

    const LOGFONT& description() const;
    std::string ResolvedFamily() const;  // e.g. "Liberation Serif"
    std::string ResolvedFile() const;    // the font file in use
    TEXTMETRIC Metrics() const;
    /// Hinted advance of one character at the pixel size (cached).
    std::int32_t Advance(char32_t ch) const;
    /// Advances of each character of a string (cached per character).
    std::vector<std::int32_t> Advances(std::u32string_view text) const;
    /// Sum of the advances: the single-line measured width.
    std::int32_t TextWidth(std::u32string_view text) const;
    /// Forgets every cached advance and rasterised glyph of this font (shared by its copies), so
    /// that the next text output starts cold; used to measure what the cache saves.
    void ClearGlyphCache() const;

    bool operator==(const Font& other) const { return d_ == other.d_; }
    static std::int64_t LiveCount();  // fonts alive (for leak checks in tests)

    struct Impl;
    const Impl& impl() const { return *d_; }

  private:
    std::shared_ptr<Impl> d_;
};

/// UTF-8 <-> UTF-32 helpers used by the text calls. Invalid UTF-8 decodes as U+FFFD.
std::u32string Utf8ToUtf32(std::string_view utf8);
std::string Utf32ToUtf8(std::u32string_view text);

// ---- Regions ----------------------------------------------------------------------------------

enum : int { ALTERNATE = 1, WINDING = 2 };
enum : int { RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5 };
enum : int { RGN_ERROR = 0, NULLREGION = 1, SIMPLEREGION = 2, COMPLEXREGION = 3 };

/// One horizontal run of pixels [x0, x1) on row y.
struct RowSpan {
    std::int32_t y = 0;
    std::int32_t x0 = 0;
    std::int32_t x1 = 0;
    friend bool operator==(const RowSpan&, const RowSpan&) = default;
};

class Region {
  public:
    Region();  // empty
    bool PtInRegion(std::int32_t x, std::int32_t y) const;
    /// Sorted by y, then x; adjacent runs on a row are merged.
    std::vector<RowSpan> Spans() const;
    /// The same, limited to the rows and columns of clip (for example the surface).
    std::vector<RowSpan> Spans(const RECT& clip) const;
    RECT Box() const;  // bounding box; all zero when empty
    bool empty() const;
    int Kind() const;  // NULLREGION, SIMPLEREGION or COMPLEXREGION
    static std::int64_t LiveCount();

    struct Data;
    explicit Region(std::shared_ptr<const Data> d);
    const Data& data() const { return *d_; }

  private:
    std::shared_ptr<const Data> d_;
};

Region CreateRectRgn(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
/// Scan conversion visits every row the polygon spans: for shapes whose vertices may lie far
/// apart, name the rows and columns that can be shown (for example the surface) and the region
/// keeps only those.
Region CreatePolygonRgn(std::span<const POINT> points, int fillMode);
Region CreatePolygonRgn(std::span<const POINT> points, int fillMode, const RECT& visible);
/// dst = a \<op\> b. Returns the kind of the result (RGN_ERROR for an unknown mode, dst unchanged).
int CombineRgn(Region& dst, const Region& a, const Region& b, int mode);

// ---- Gradients --------------------------------------------------------------------------------

struct TRIVERTEX {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t Red = 0;  // 8-bit channel x 256
    std::uint16_t Green = 0;
    std::uint16_t Blue = 0;
    std::uint16_t Alpha = 0;
};
enum : std::uint32_t { GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1 };

// ---- DrawState flags --------------------------------------------------------------------------

enum : std::uint32_t {
    DST_ICON = 0x0003,
    DST_BITMAP = 0x0004,
    DSS_NORMAL = 0x0000,
    DSS_DISABLED = 0x0020,
};

// ---- DrawText flags ---------------------------------------------------------------------------

enum : std::uint32_t {
    DT_LEFT = 0x0000,
    DT_TOP = 0x0000,
    DT_SINGLELINE = 0x0020,
    DT_CALCRECT = 0x0400,
    DT_NOPREFIX = 0x0800,
};

enum : int { TRANSPARENT = 1, OPAQUE = 2 };
enum : int { GM_COMPATIBLE = 1, GM_ADVANCED = 2 };

// ---- Device context ---------------------------------------------------------------------------

/// A drawing context over a surface it does not own (the surface must outlive it). Everything
/// outside the surface is clipped, never written.
class DeviceContext {
  public:
    explicit DeviceContext(Surface& surface);
    DeviceContext(const DeviceContext&) = delete;
    DeviceContext& operator=(const DeviceContext&) = delete;

    Surface& surface() { return *surface_; }
    const Surface& surface() const { return *surface_; }
    /// Points the context at another surface (after a resize), keeping its selections and state.
    void Rebind(Surface& surface) { surface_ = &surface; }
    std::int32_t width() const { return surface_->width(); }
    std::int32_t height() const { return surface_->height(); }

    /// Selections return what was selected before.
    Pen SelectObject(const Pen& pen);
    Brush SelectObject(const Brush& brush);
    Font SelectObject(const Font& font);
    const Pen& CurrentPen() const { return pen_; }
    const Brush& CurrentBrush() const { return brush_; }
    const Font& CurrentFont() const { return font_; }

    COLORREF SetTextColor(COLORREF c);  // return the previous value
    COLORREF GetTextColor() const { return textColor_; }
    COLORREF SetBkColor(COLORREF c);
    COLORREF GetBkColor() const { return bkColor_; }
    int SetBkMode(int mode);
    int GetBkMode() const { return bkMode_; }
    int SetGraphicsMode(int mode);  // recorded only; returns the previous mode, 0 for a bad mode
    int GetGraphicsMode() const { return graphicsMode_; }

    /// Lines with the selected pen.
    POINT MoveToEx(std::int32_t x, std::int32_t y);  // returns the previous position
    POINT GetCurrentPositionEx() const { return position_; }
    bool LineTo(std::int32_t x, std::int32_t y);
    /// Edges with the selected pen; filled with the selected brush unless it is hollow.
    bool Polygon(std::span<const POINT> points);

    /// Pixels.
    COLORREF SetPixel(std::int32_t x, std::int32_t y, COLORREF c);  // CLR_INVALID outside
    bool SetPixelV(std::int32_t x, std::int32_t y, COLORREF c);     // false outside
    COLORREF GetPixel(std::int32_t x, std::int32_t y) const;        // CLR_INVALID outside

    /// USER rectangles.
    int FillRect(const RECT& r, const Brush& brush);
    int FrameRect(const RECT& r, const Brush& brush);
    bool DrawFocusRect(const RECT& r);

    /// Blits (SRCCOPY). Source and destination may be the same context.
    bool BitBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                const DeviceContext& src, std::int32_t srcX, std::int32_t srcY);
    /// Default stretch mode (BLACKONWHITE): shrinking ANDs the source pixels that meet.
    bool StretchBlt(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy,
                    const DeviceContext& src, std::int32_t srcX, std::int32_t srcY,
                    std::int32_t srcCx, std::int32_t srcCy);
    /// Rectangle gradient between two vertices (GRADIENT_FILL_RECT_H or _V).
    bool GradientFill(const TRIVERTEX& a, const TRIVERTEX& b, std::uint32_t mode);

    /// DrawState for an image with alpha: DST_ICON or DST_BITMAP, with or without DSS_DISABLED.
    /// cx, cy = 0 means the image's own size.
    bool DrawState(const Surface& image, std::int32_t x, std::int32_t y, std::int32_t cx,
                   std::int32_t cy, std::uint32_t flags);
    /// Draws an image with alpha scaled into (x, y, cx, cy), source-over (a picture painted onto
    /// the surface). Scaling picks source pixels by the enlarging index rule of StretchBlt.
    bool DrawImage(const Surface& image, std::int32_t x, std::int32_t y, std::int32_t cx,
                   std::int32_t cy);

    /// Text with the selected font.
    bool GetTextMetrics(TEXTMETRIC& tm) const;
    std::string GetTextFace() const;
    /// Only DT_CALCRECT | DT_SINGLELINE (| DT_NOPREFIX) is supported: sets r.right = r.left + width
    /// and r.bottom = r.top + height; returns the height. Anything else returns 0 and changes
    /// nothing.
    std::int32_t DrawText(std::u32string_view text, RECT& r, std::uint32_t format) const;
    std::int32_t DrawText(std::string_view utf8, RECT& r, std::uint32_t format) const;
    /// Text output at a reference point (top-left alignment) in the text colour; with OPAQUE
    /// background mode the text cells are first filled with the background colour.
    bool TextOut(std::int32_t x, std::int32_t y, std::u32string_view text);
    bool TextOut(std::int32_t x, std::int32_t y, std::string_view utf8);

  private:
    Surface* surface_;
    Pen pen_;
    Brush brush_;
    Font font_;
    POINT position_{};
    COLORREF textColor_ = 0x000000;
    COLORREF bkColor_ = 0xFFFFFF;
    int bkMode_ = OPAQUE;
    int graphicsMode_ = GM_COMPATIBLE;
};

// ---- System colours ---------------------------------------------------------------------------

enum : int {
    COLOR_SCROLLBAR = 0,
    COLOR_WINDOW = 5,
    COLOR_WINDOWTEXT = 8,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
    COLOR_INFOTEXT = 23,
    COLOR_INFOBK = 24,
};
constexpr int kSysColorCount = 31;
using SysColorTable = std::array<COLORREF, kSysColorCount>;

/// The classic scheme, used when no desktop palette is available.
SysColorTable ClassicSysColors();
/// Replaces the table the layer answers from (a host maps the desktop palette in here).
void SetSysColorTable(const SysColorTable& table);
void ResetSysColors();            // back to the classic scheme
COLORREF GetSysColor(int index);  // 0 for an index out of range
/// A value with the top bit set names a system colour (0x80000000 + index): translated through
/// the table. Any other value is returned unchanged.
COLORREF TranslateSysColor(std::uint32_t value);

// ---- Operating-system version ------------------------------------------------------------------

enum : std::uint32_t {
    VER_PLATFORM_WIN32s = 0,
    VER_PLATFORM_WIN32_WINDOWS = 1,
    VER_PLATFORM_WIN32_NT = 2
};

struct OSVERSIONINFO {
    std::uint32_t dwMajorVersion = 0;
    std::uint32_t dwMinorVersion = 0;
    std::uint32_t dwBuildNumber = 0;
    std::uint32_t dwPlatformId = 0;
};

/// On Linux a fixed answer: platform 2 (NT), version 10.0. Tests may replace it.
OSVERSIONINFO GetVersionEx();
void SetVersionForTesting(std::optional<OSVERSIONINFO> version);

}  // namespace gdi
