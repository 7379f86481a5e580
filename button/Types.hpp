// Small shared types of the control: colours, booleans, pictures and font objects.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "gdi/gdi.hpp"

namespace tarvex {

/// A colour property value: 0x00BBGGRR for an explicit colour; a value below -1 (top bit set,
/// 0x80000000 + index) names a system colour.
using OleColor = std::int32_t;

/// The control's 16-bit booleans: 0 false, -1 true; any non-zero value tests true.
using VBool = std::int16_t;
constexpr VBool kTrue = -1;
constexpr VBool kFalse = 0;
constexpr VBool ToVBool(bool b) {
    return b ? kTrue : kFalse;
}

/// A failure reported by the host or by a property set (a control that cannot be found, a stored
/// value of the wrong kind). Property procedures let it reach their caller.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

/// Picture types.
enum : std::int32_t {
    kPicTypeNone = 0,
    kPicTypeBitmap = 1,
    kPicTypeMetafile = 2,
    kPicTypeIcon = 3
};

/// A picture object: pixels with alpha plus its size in HIMETRIC (hundredths of a millimetre).
/// A picture without pixel data has no handle (`HasHandle()` false).
class Picture {
  public:
    Picture() = default;
    Picture(gdi::Surface pixels, std::int32_t type);  // HIMETRIC size from pixels at 96 dpi
    Picture(gdi::Surface pixels, std::int32_t type, std::int32_t widthHimetric,
            std::int32_t heightHimetric);

    std::int32_t Type() const { return type_; }
    std::int32_t Width() const { return widthHimetric_; }  // HIMETRIC
    std::int32_t Height() const { return heightHimetric_; }
    bool HasHandle() const { return !pixels_.empty(); }
    const gdi::Surface& Pixels() const { return pixels_; }
    /// The file the picture came from, when known (kept so a saved layout can name it again).
    const std::string& SourcePath() const { return sourcePath_; }
    void SetSourcePath(std::string path) { sourcePath_ = std::move(path); }
    /// The other sizes of the same image (the further frames of a multi-size icon file).
    void AddFrame(gdi::Surface pixels) { frames_.push_back(std::move(pixels)); }
    const std::vector<gdi::Surface>& Frames() const { return frames_; }
    /// The image or frame exactly `side` pixels square; nullptr when the picture has none.
    const gdi::Surface* SquareOfSide(std::int32_t side) const;

    static std::int32_t PixelsToHimetric(std::int32_t pixels);  // at 96 dpi, rounded
    static std::int32_t HimetricToPixels(std::int32_t himetric);

  private:
    gdi::Surface pixels_;
    std::int32_t type_ = kPicTypeNone;
    std::int32_t widthHimetric_ = 0;
    std::int32_t heightHimetric_ = 0;
    std::string sourcePath_;
    std::vector<gdi::Surface> frames_;
};
using PictureRef = std::shared_ptr<const Picture>;

/// A font object (name, size in points, style flags) that reports changes to its listeners.
/// Shared: a control's `TextFont` may be the very object of its form, so later changes of the
/// form's font reach the control.
class FontObject {
  public:
    using Listener = std::function<void(std::string_view propertyName)>;

    /// Keeps a listener registered for its lifetime.
    class Subscription {
      public:
        Subscription() = default;
        Subscription(std::weak_ptr<FontObject> font, std::uint64_t id)
            : font_(std::move(font)), id_(id) {}
        Subscription(Subscription&& o) noexcept;
        Subscription& operator=(Subscription&& o) noexcept;
        Subscription(const Subscription&) = delete;
        Subscription& operator=(const Subscription&) = delete;
        ~Subscription();
        void Reset();

      private:
        std::weak_ptr<FontObject> font_;
        std::uint64_t id_ = 0;
    };

    static std::shared_ptr<FontObject> Create(std::string name = "MS Sans Serif",
                                              std::int64_t sizeTenThousandths = 82500);
    std::shared_ptr<FontObject> Clone() const;  // same attributes, no listeners

    const std::string& Name() const { return name_; }
    /// Size in points as fixed point with four decimals (8.25 pt = 82500).
    std::int64_t SizeTenThousandths() const { return size_; }
    double Size() const { return double(size_) / 10000.0; }
    bool Bold() const { return bold_; }
    bool Italic() const { return italic_; }
    bool Underline() const { return underline_; }
    bool Strikethrough() const { return strikethrough_; }

    void SetName(std::string name);
    void SetSizeTenThousandths(std::int64_t size);
    void SetSize(double points);  // rounded to four decimals
    void SetBold(bool b);
    void SetItalic(bool b);
    void SetUnderline(bool b);
    void SetStrikethrough(bool b);

    [[nodiscard]] static Subscription Subscribe(const std::shared_ptr<FontObject>& font,
                                                Listener listener);

  private:
    void Notify(std::string_view propertyName);
    std::string name_;
    std::int64_t size_ = 82500;
    bool bold_ = false;
    bool italic_ = false;
    bool underline_ = false;
    bool strikethrough_ = false;
    std::uint64_t nextId_ = 1;
    std::vector<std::pair<std::uint64_t, Listener>> listeners_;
};
using FontRef = std::shared_ptr<FontObject>;

}  // namespace tarvex
