// Caption layout: access key, wrapping, shortening, alignment, icon cell.
//
// Every width is the single-line measure of the drawing layer, which is the sum of the glyph
// advances of the selected font. The wrap loop asks for the width of many prefixes of the same
// text, so those widths come from prefix sums of the cached advances: the same numbers the
// one-line measure gives, in constant time per candidate, which keeps even a 32,767-character
// caption linear.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "button/TarvexButton.hpp"
#include "button/render/CaptionFontDescription.hpp"
#include "button/render/PreferredSize.hpp"

namespace tarvex {

namespace {

// The layer's one-line measure (no clipping is involved in measuring, so DT_NOCLIP adds nothing).
constexpr std::uint32_t kMeasureFlags = gdi::DT_CALCRECT | gdi::DT_SINGLELINE | gdi::DT_NOPREFIX;
constexpr char32_t kSpace = U' ';
constexpr std::size_t npos = std::u32string::npos;
constexpr std::int64_t kMaxExtent = 0x3FFFFFFF;  // keeps sums of extents inside 32 bits

std::int32_t ToExtent(std::int64_t v) {
    return std::int32_t(std::clamp<std::int64_t>(v, -kMaxExtent, kMaxExtent));
}

struct Extent {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

Extent MeasureLine(const gdi::DeviceContext& dc, std::u32string_view text) {
    gdi::RECT r{};
    dc.DrawText(text, r, kMeasureFlags);
    return {r.right, r.bottom};
}

// Per-style constants of the horizontal layout, indexed by ButtonStyle 0..3.
struct StyleMetrics {
    std::int32_t wrapMargin;     // M: taken off the available width
    std::int32_t leftMargin;     // L: x of a left-aligned line
    std::int32_t rightMargin;    // R: gap after a right-aligned line
    std::int32_t centreShift;    // E without an icon
    std::int32_t iconOnlyShift;  // subtracted from a lone icon's x
};

StyleMetrics MetricsForStyle(std::int32_t buttonStyle) {
    switch (buttonStyle) {
        case 1:
            return {18, 6, 18, -9, 9};
        case 2:
            return {42, 18, 18, 0, 0};
        case 3:
            return {18, 18, 6, 9, -9};
        default:
            return {6, 6, 6, 0, 0};
    }
}

// The text being wrapped: a short rewritten head (a shortened word) followed by the unread rest
// of the original text. Shortening and emitting only ever rewrite the head or move the start of
// the rest, so no step copies the whole caption. Prefix widths of the rest are summed lazily, as
// far as the wrap has read: a small button with a long caption stops after a few lines.
class WrapText {
  public:
    WrapText(std::u32string text, const gdi::Font& font) : font_(font), base_(std::move(text)) {
        baseWidth_.push_back(0);
        baseTrim_.push_back(0);
        RebuildHead();
    }

    std::size_t size() const { return head_.size() + (base_.size() - tail_); }
    bool empty() const { return size() == 0; }

    // Index of the first space at or after `from`, or npos.
    std::size_t FindSpace(std::size_t from) const {
        for (std::size_t i = from; i < head_.size(); ++i) {
            if (head_[i] == kSpace) return i;
        }
        const std::size_t b = tail_ + (std::max(from, head_.size()) - head_.size());
        const std::size_t found = base_.find(kSpace, b);
        if (found == npos) return npos;
        return head_.size() + (found - tail_);
    }

    // Length of the first `n` characters once trailing spaces are removed.
    std::size_t TrimmedLength(std::size_t n) const {
        n = std::min(n, size());
        if (n > head_.size()) {
            const std::size_t j = BaseTrim(tail_ + (n - head_.size()));
            if (j > tail_) return head_.size() + (j - tail_);
            return headTrim_;
        }
        while (n > 0 && head_[n - 1] == kSpace) --n;
        return n;
    }

    // Width of the first `n` characters.
    std::int64_t Width(std::size_t n) const {
        n = std::min(n, size());
        if (n <= head_.size()) return headWidth_[n];
        return headWidth_.back() + BaseWidth(tail_ + (n - head_.size())) - BaseWidth(tail_);
    }

    std::int64_t CharWidth(std::size_t index) const { return Width(index + 1) - Width(index); }

    std::u32string Prefix(std::size_t n) const {
        n = std::min(n, size());
        std::u32string out = head_.substr(0, n);
        if (n > head_.size()) out.append(base_, tail_, n - head_.size());
        return out;
    }

    void DropPrefix(std::size_t n) { ReplacePrefix(n, {}); }

    // The text becomes `head` followed by what stood after the first `n` characters.
    void ReplacePrefix(std::size_t n, std::u32string head) {
        n = std::min(n, size());
        if (n <= head_.size()) {
            head += head_.substr(n);
        } else {
            tail_ += n - head_.size();
        }
        head_ = std::move(head);
        RebuildHead();
    }

  private:
    std::int64_t BaseWidth(std::size_t i) const {
        Extend(i);
        return baseWidth_[i];
    }
    std::size_t BaseTrim(std::size_t i) const {
        Extend(i);
        return baseTrim_[i];
    }

    // Sums advances up to index i, in growing chunks so the font is asked once per chunk.
    void Extend(std::size_t i) const {
        if (i < baseWidth_.size()) return;
        const std::size_t from = baseWidth_.size() - 1;
        const std::size_t to = std::min(base_.size(), std::max(i, 2 * from + 64));
        const std::vector<std::int32_t> advances =
            font_.Advances(std::u32string_view(base_).substr(from, to - from));
        for (std::size_t k = from; k < to; ++k) {
            baseWidth_.push_back(baseWidth_[k] + advances[k - from]);
            baseTrim_.push_back(base_[k] == kSpace ? baseTrim_[k] : k + 1);
        }
    }

    void RebuildHead() {
        headWidth_.assign(head_.size() + 1, 0);
        for (std::size_t i = 0; i < head_.size(); ++i) {
            headWidth_[i + 1] = headWidth_[i] + font_.Advance(head_[i]);
        }
        headTrim_ = head_.size();
        while (headTrim_ > 0 && head_[headTrim_ - 1] == kSpace) --headTrim_;
    }

    const gdi::Font& font_;
    std::u32string base_;
    mutable std::vector<std::int64_t> baseWidth_;  // width of base_[0, i), summed so far
    mutable std::vector<std::size_t> baseTrim_;    // length of base_[0, i) less trailing spaces
    std::size_t tail_ = 0;                         // where the unread rest of base_ starts
    std::u32string head_;
    std::vector<std::int64_t> headWidth_;
    std::size_t headTrim_ = 0;
};

// Where the access key ended up.
struct KeyPlacement {
    bool placed = false;
    std::size_t line = 0;
    std::int64_t indexInLine = 0;  // 1-based
    std::int32_t width = 0;
};

// Breaks the working text into lines at spaces, shortening first words that cannot fit.
class LineBreaker {
  public:
    LineBreaker(WrapText& text, std::int32_t lineHeight, std::int64_t accessKeyPos,
                std::vector<CaptionLine>& lines)
        : text_(text), height_(lineHeight), key_(accessKeyPos), lines_(lines) {}

    void EmitWhole() { Emit(text_.size()); }

    // `available` is the width a line may take, `maxLines` the line limit N.
    void Wrap(std::int32_t available, std::int64_t maxLines) {
        std::size_t searchFrom = 0;  // s, as a 0-based index
        std::size_t pending = 0;     // P
        for (;;) {
            if (emitted_ == maxLines) break;
            const std::size_t space = text_.FindSpace(searchFrom);
            if (space == npos) {
                Emit(pending);
                break;
            }
            const std::size_t q = space + 1;
            const std::size_t candidate = text_.TrimmedLength(q);
            const std::int64_t w = text_.Width(candidate);
            if (w > available && pending != 0) {
                Emit(pending);
                searchFrom = 0;
                continue;
            }
            pending = q;
            searchFrom = q;
            // An empty candidate (a leading space in a button too narrow for anything) has
            // nothing to shorten; shortening it would never consume a space and never end.
            if (w > available && candidate > 0) {
                // The following word joins the "..." directly. The last word takes the closing
                // space with it, so it becomes the break itself; otherwise no break would be
                // left and the shortened word would vanish.
                const bool lastWord = q >= text_.size();
                Shorten(q, candidate, w, available);
                searchFrom = 0;
                pending = lastWord ? text_.size() : 0;
            }
        }
        Emit(pending);
    }

    const KeyPlacement& Key() const { return placement_; }

  private:
    void Emit(std::size_t breakAt) {
        if (text_.empty()) return;
        if (lines_.size() < std::size_t(emitted_) + 1) lines_.resize(std::size_t(emitted_) + 1);
        const std::size_t length = text_.TrimmedLength(breakAt);
        PlaceKey(length);
        CaptionLine& line = lines_[std::size_t(emitted_)];
        line.Text = text_.Prefix(length);
        line.Width = ToExtent(text_.Width(length));
        line.Height = height_;
        ++emitted_;
        text_.DropPrefix(breakAt);
    }

    void PlaceKey(std::size_t lineLength) {
        if (placement_.placed || key_ == 0) return;
        if (key_ > std::int64_t(lineLength)) {
            key_ -= std::int64_t(lineLength) + 1;  // the line and its break space
            return;
        }
        placement_.placed = true;
        placement_.line = std::size_t(emitted_);
        placement_.indexInLine = key_;
        placement_.width = ToExtent(text_.CharWidth(std::size_t(key_ - 1)));
    }

    void Shorten(std::size_t q, std::size_t candidate, std::int64_t w, std::int32_t available) {
        std::int64_t keep = 1;
        if (w > 0) {
            const double share = double(available) / double(w) * double(candidate);
            keep = std::int64_t(share) / 2;
        }
        keep = std::clamp<std::int64_t>(keep, 1, std::int64_t(text_.size()));
        std::u32string head = text_.Prefix(std::size_t(keep));
        if (head.size() > 4) head.resize(head.size() - 3);
        head += U"...";
        text_.ReplacePrefix(q, std::move(head));
    }

    WrapText& text_;
    std::int32_t height_;
    std::int64_t key_;
    std::vector<CaptionLine>& lines_;
    std::int64_t emitted_ = 0;
    KeyPlacement placement_;
};

// Selects an upright caption font for measuring when none is selected (a layout started by a
// resize or a property change, outside a redraw), and puts the previous font back afterwards.
class UprightMeasuringFont {
  public:
    explicit UprightMeasuringFont(TarvexButton& button) : dc_(button.hDC()) {
        if (button.mCaptionFont && button.mCaptionFont->description().lfEscapement == 0) return;
        previous_ = dc_.SelectObject(gdi::Font::Create(
            CaptionFontDescription(button.TextFont.get(), button.Host().ExactTwipsPerPixelY(), 0)));
    }
    ~UprightMeasuringFont() {
        if (previous_) dc_.SelectObject(*previous_);
    }
    UprightMeasuringFont(const UprightMeasuringFont&) = delete;
    UprightMeasuringFont& operator=(const UprightMeasuringFont&) = delete;

  private:
    gdi::DeviceContext& dc_;
    std::optional<gdi::Font> previous_;
};

char32_t LowerAscii(char32_t c) {
    return (c >= U'A' && c <= U'Z') ? c - U'A' + U'a' : c;
}

// The caption as shown: "&&" reduced to "&", the access-key marker removed. Room for the closing
// space of the wrap is reserved, so a long caption is never copied again.
std::u32string DisplayedCaption(const std::string& caption, std::int64_t accessKeyPos) {
    std::u32string shown = gdi::Utf8ToUtf32(caption);
    shown.reserve(shown.size() + 1);
    std::size_t out = 0;
    for (std::size_t i = 0; i < shown.size(); ++i, ++out) {
        shown[out] = shown[i];
        if (shown[i] == U'&' && i + 1 < shown.size() && shown[i + 1] == U'&') ++i;
    }
    shown.resize(out);
    if (accessKeyPos > 0 && std::size_t(accessKeyPos) <= shown.size()) {
        shown.erase(std::size_t(accessKeyPos - 1), 1);
    }
    return shown;
}

std::int64_t Abs(std::int64_t v) {
    return v < 0 ? -v : v;
}

std::int32_t Halved(std::int64_t v) {
    return ToExtent(v / 2);
}

}  // namespace

void TarvexButton::FindAccessKey() {
    const std::u32string caption = gdi::Utf8ToUtf32(mCaption);
    std::size_t pairs = 0;
    std::optional<std::size_t> marker;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] != U'&') continue;
        if (i + 1 < caption.size() && caption[i + 1] == U'&') {
            ++pairs;
            ++i;
            continue;
        }
        marker = i;
        break;
    }
    mAccessKeyPos = 0;
    mAccessKeyX = 0;
    mAccessKeyY = 0;
    mAccessKeyWidth = 0;
    if (!marker) return;
    std::u32string key;
    if (*marker + 1 < caption.size()) key += LowerAscii(caption[*marker + 1]);
    host_.SetAccessKeys(gdi::Utf32ToUtf8(key));
    mAccessKeyPos = std::int32_t(std::min<std::size_t>(*marker + 1 - pairs, INT32_MAX));
}

void TarvexButton::LayoutCaption() {
    UprightMeasuringFont measuring(*this);
    const gdi::DeviceContext& dc = hDC();
    const std::int32_t SW = ScaleWidth();
    const std::int32_t SH = ScaleHeight();
    const std::int32_t S = IconCell();
    const bool hasIcon = mIconPresent != 0;
    const bool iconBefore = mIconAlignment == 0;
    const StyleMetrics style = MetricsForStyle(mButtonStyle);
    const std::int32_t orientation = mCaptionOrientation;

    mCaptionLines.assign(1, CaptionLine{});
    if (hasIcon && mCaption.empty()) {
        mIconX = Halved(std::int64_t(SW) - S) - style.iconOnlyShift;
        mIconY = Halved(std::int64_t(SH) - S);
        return;
    }
    mAccessKeyX = 0;
    mAccessKeyY = 0;
    mAccessKeyWidth = 0;

    // Available space along and across the reading direction.
    const std::int32_t iconAllowance = hasIcon ? S + 5 : 0;
    std::int32_t available = SW - iconAllowance - 6 - style.wrapMargin;
    std::int32_t across = SH;
    if (orientation != 0) {
        available = SH - 12 - iconAllowance;
        across = SW;
    }

    std::u32string shown = DisplayedCaption(mCaption, mAccessKeyPos);
    const Extent whole = MeasureLine(dc, shown);
    const bool oneLine = whole.width <= available || whole.height > across || whole.height <= 0;
    if (!oneLine) shown += kSpace;
    WrapText text(std::move(shown), dc.CurrentFont());
    LineBreaker breaker(text, whole.height, mAccessKeyPos, mCaptionLines);
    if (oneLine) {
        breaker.EmitWhole();
    } else {
        breaker.Wrap(available, std::max<std::int64_t>(1, across / whole.height));
    }

    // Line positions.
    const std::int64_t count = std::int64_t(mCaptionLines.size());
    const std::int32_t h = mCaptionLines[0].Height;
    std::int32_t G = hasIcon ? S + 5 : 0;
    if ((!iconBefore && mAlignment == 0) || (iconBefore && mAlignment == 2)) G = 0;

    if (orientation == 0) {
        const std::int32_t top = Halved(std::int64_t(SH) - count * h);
        const std::int32_t K = mButtonStyle == 1 ? 18 : 0;
        std::int32_t E = style.centreShift;
        if (hasIcon) E = iconBefore ? Halved(std::int64_t(G) - K) : -Halved(std::int64_t(G) + K);
        for (std::size_t i = 0; i < mCaptionLines.size(); ++i) {
            CaptionLine& line = mCaptionLines[i];
            line.Y = ToExtent(std::int64_t(i) * h + top);
            if (mAlignment == 0) {
                line.X = style.leftMargin + G;
            } else if (mAlignment == 1) {
                line.X = ToExtent(Halved(std::int64_t(SW) - line.Width) + std::int64_t(E));
            } else {
                line.X =
                    ToExtent(std::int64_t(SW) - (std::int64_t(line.Width) + G + style.rightMargin));
            }
        }
    } else {
        const std::int32_t left = Halved(std::int64_t(SW) - count * h);
        std::int32_t G2 = G / 2;
        if ((orientation == 1 && !iconBefore) || (orientation != 1 && iconBefore)) G2 = -G2;
        for (std::size_t i = 0; i < mCaptionLines.size(); ++i) {
            CaptionLine& line = mCaptionLines[i];
            const std::int64_t Wi = line.Width;
            const std::int64_t ih = std::int64_t(i) * h;
            if (orientation == 1) {
                line.X = ToExtent(ih + left);
                if (mAlignment == 0) {
                    line.Y = ToExtent(Abs(std::int64_t(SH) - G - 6));
                } else if (mAlignment == 1) {
                    line.Y = ToExtent(Abs(SH - std::int64_t(Halved(SH - Wi))) - G2);
                } else {
                    line.Y = ToExtent(SH - Abs(SH - (Wi + G + 6)));
                }
            } else {
                line.X = ToExtent(Abs(ih - SW + left));
                if (mAlignment == 0) {
                    line.Y = G + 6;
                } else if (mAlignment == 1) {
                    line.Y = ToExtent(std::int64_t(Halved(SH - Wi)) - G2);
                } else {
                    line.Y = ToExtent(SH - (Wi + G + 6));
                }
            }
        }
    }

    // Bounding rectangle of the lines.
    const CaptionLine& first = mCaptionLines.front();
    const CaptionLine& last = mCaptionLines.back();
    std::int32_t widest = 0;
    for (const CaptionLine& line : mCaptionLines) widest = std::max(widest, line.Width);
    CaptionRect rect;
    if (orientation == 0) {
        rect.top = first.Y;
        rect.bottom = ToExtent(std::int64_t(last.Y) + first.Height);
        rect.left = SW;
        for (const CaptionLine& line : mCaptionLines) rect.left = std::min(rect.left, line.X);
        rect.right = ToExtent(std::int64_t(rect.left) + widest);
    } else if (orientation == 1) {
        rect.left = first.X;
        rect.right = ToExtent(std::int64_t(last.X) + last.Height);
        std::int64_t top = SH;
        for (const CaptionLine& line : mCaptionLines) {
            top = std::min(top, Abs(std::int64_t(line.Y) - line.Width));
        }
        rect.top = ToExtent(top);
        rect.bottom = ToExtent(top + widest);
    } else {
        rect.left = ToExtent(std::int64_t(last.X) - first.Height);
        rect.right = first.X;
        rect.top = SH;
        for (const CaptionLine& line : mCaptionLines) rect.top = std::min(rect.top, line.Y);
        rect.bottom = ToExtent(std::int64_t(rect.top) + widest);
    }

    // Access-key underline.
    const KeyPlacement& key = breaker.Key();
    if (key.placed && key.line < mCaptionLines.size()) {
        const CaptionLine& line = mCaptionLines[key.line];
        const std::size_t upTo =
            std::min<std::size_t>(std::size_t(key.indexInLine), line.Text.size());
        const std::int32_t Wp =
            MeasureLine(dc, std::u32string_view(line.Text).substr(0, upTo)).width;
        mAccessKeyWidth = key.width;
        if (orientation == 0) {
            mAccessKeyX = ToExtent(std::int64_t(line.X) + Wp - key.width);
            mAccessKeyY = ToExtent(std::int64_t(line.Y) + line.Height);
        } else if (orientation == 1) {
            mAccessKeyX = ToExtent(std::int64_t(line.X) + line.Height);
            mAccessKeyY = ToExtent(std::int64_t(line.Y) - Wp);
        } else {
            mAccessKeyX = ToExtent(std::int64_t(line.X) - line.Height);
            mAccessKeyY = ToExtent(std::int64_t(line.Y) + Wp - key.width);
        }
    }

    // Icon cell beside the caption.
    if (hasIcon) {
        if (orientation == 0) {
            mIconX = iconBefore ? rect.left - S - 5 : rect.right + 5;
            mIconY = Halved(std::int64_t(rect.bottom) - rect.top - S) + rect.top;
        } else {
            mIconX = Halved(std::int64_t(rect.right) - rect.left - S) + rect.left;
            const bool below = (orientation == 1) == iconBefore;
            mIconY = below ? rect.bottom + 5 : rect.top - S - 5;
        }
    }

    rect.left -= 3;
    rect.top -= 3;
    rect.right += 1;
    rect.bottom += 1;
    mCaptionRect = rect;
}

}  // namespace tarvex

// ---- The preferred size ------------------------------------------------------------------------

namespace tarvex {

namespace {

// The pixels each look's frame takes on one side, inside of which its focus cue is drawn.
std::int32_t FrameWidth(std::int32_t buttonType) {
    switch (buttonType) {
        case 1:  // framed bevel: outline and two bevels
        case 8:  // soft frame
            return 3;
        case 6:  // flat bevel
        case 7:  // hover edge
            return 1;
        default:
            return 2;
    }
}

// The caption's lines as shown: split at each line break (CR LF, CR or LF).
std::vector<std::u32string> ShownLines(std::u32string shown) {
    std::vector<std::u32string> lines(1);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const char32_t c = shown[i];
        if (c == U'\r' || c == U'\n') {
            if (c == U'\r' && i + 1 < shown.size() && shown[i + 1] == U'\n') ++i;
            lines.emplace_back();
        } else {
            lines.back() += c;
        }
    }
    return lines;
}

}  // namespace

// The layout's own rules read backwards: a line fits when it is no wider than the width less the
// icon allowance, 6 pixels and the segment's margin (LayoutCaption), so that much is added to the
// widest line; across the caption the frame, the focus cue's gap and the cue itself on each side.
PreferredExtent PreferredSize(const TarvexButton& b, double twipsPerPixelY) {
    gdi::Surface scratch(1, 1);
    gdi::DeviceContext dc(scratch);
    dc.SelectObject(gdi::Font::Create(CaptionFontDescription(b.TextFont.get(), twipsPerPixelY, 0)));
    gdi::TEXTMETRIC tm;
    dc.GetTextMetrics(tm);
    std::int64_t along = 0;
    std::int64_t lineCount = 0;
    for (const std::u32string& line : ShownLines(DisplayedCaption(b.mCaption, b.mAccessKeyPos))) {
        along = std::max<std::int64_t>(along, line.empty() ? 0 : MeasureLine(dc, line).width);
        ++lineCount;
    }
    std::int64_t across = lineCount * tm.tmHeight;
    const bool hasIcon = b.mIconPresent != 0;
    const std::int64_t cell = hasIcon ? std::int64_t(b.mIconSize) * 8 : 0;
    const std::int32_t frame = FrameWidth(b.mButtonType);
    const std::int64_t padAcross = 2 * (frame + 4);
    if (b.mCaption.empty()) {
        along = cell;
        across = std::max(across, cell);
    } else {
        along += (hasIcon ? cell + 5 : 0) + 6;
        across = std::max(across, cell);
    }
    if (b.mCaptionOrientation != 0) {
        // Vertical: LayoutCaption gives the caption the height less 12 and the icon allowance.
        const std::int64_t height = along + 6 + 2 * frame;
        return {ToExtent(across + padAcross), ToExtent(height)};
    }
    const std::int64_t width = along + MetricsForStyle(b.mButtonStyle).wrapMargin + 2 * frame;
    return {ToExtent(width), ToExtent(across + padAcross)};
}

}  // namespace tarvex
