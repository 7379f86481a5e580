// Pictures and shared font objects.
#include "button/Types.hpp"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tarvex {

namespace {

constexpr std::int64_t kHimetricPerInch = 2540;
constexpr std::int64_t kPixelsPerInch = 96;

// Integer rounding half away from zero, so a size converts the same way in both directions
// whatever its sign.
std::int32_t RoundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    const std::int64_t half = denominator / 2;
    const std::int64_t q =
        numerator >= 0 ? (numerator + half) / denominator : (numerator - half) / denominator;
    return static_cast<std::int32_t>(q);
}

}  // namespace

// ---- Picture
// --------------------------------------------------------------------------------------

Picture::Picture(gdi::Surface pixels, std::int32_t type)
    : pixels_(std::move(pixels)),
      type_(type),
      widthHimetric_(PixelsToHimetric(pixels_.width())),
      heightHimetric_(PixelsToHimetric(pixels_.height())) {}

Picture::Picture(gdi::Surface pixels, std::int32_t type, std::int32_t widthHimetric,
                 std::int32_t heightHimetric)
    : pixels_(std::move(pixels)),
      type_(type),
      widthHimetric_(widthHimetric),
      heightHimetric_(heightHimetric) {}

const gdi::Surface* Picture::SquareOfSide(std::int32_t side) const {
    const auto square = [side](const gdi::Surface& s) {
        return !s.empty() && s.width() == side && s.height() == side;
    };
    if (square(pixels_)) return &pixels_;
    for (const gdi::Surface& frame : frames_)
        if (square(frame)) return &frame;
    return nullptr;
}

std::int32_t Picture::PixelsToHimetric(std::int32_t pixels) {
    return RoundedQuotient(std::int64_t(pixels) * kHimetricPerInch, kPixelsPerInch);
}

std::int32_t Picture::HimetricToPixels(std::int32_t himetric) {
    return RoundedQuotient(std::int64_t(himetric) * kPixelsPerInch, kHimetricPerInch);
}

// ---- FontObject::Subscription
// ----------------------------------------------------------------------

FontObject::Subscription::Subscription(Subscription&& o) noexcept
    : font_(std::move(o.font_)), id_(std::exchange(o.id_, 0)) {}

FontObject::Subscription& FontObject::Subscription::operator=(Subscription&& o) noexcept {
    if (this != &o) {
        Reset();
        font_ = std::move(o.font_);
        id_ = std::exchange(o.id_, 0);
    }
    return *this;
}

FontObject::Subscription::~Subscription() {
    Reset();
}

void FontObject::Subscription::Reset() {
    if (auto font = font_.lock()) {
        auto& ls = font->listeners_;
        ls.erase(
            std::remove_if(ls.begin(), ls.end(), [&](const auto& l) { return l.first == id_; }),
            ls.end());
    }
    font_.reset();
    id_ = 0;
}

// ---- FontObject
// ------------------------------------------------------------------------------------

std::shared_ptr<FontObject> FontObject::Create(std::string name, std::int64_t sizeTenThousandths) {
    if (sizeTenThousandths < 0) throw HostError("font size must not be negative");
    auto font = std::make_shared<FontObject>();
    font->name_ = std::move(name);
    font->size_ = sizeTenThousandths;
    return font;
}

std::shared_ptr<FontObject> FontObject::Clone() const {
    auto copy = Create(name_, size_);
    copy->bold_ = bold_;
    copy->italic_ = italic_;
    copy->underline_ = underline_;
    copy->strikethrough_ = strikethrough_;
    return copy;
}

void FontObject::SetName(std::string name) {
    if (name == name_) return;
    name_ = std::move(name);
    Notify("Name");
}

void FontObject::SetSizeTenThousandths(std::int64_t size) {
    if (size < 0) throw HostError("font size must not be negative");
    if (size == size_) return;
    size_ = size;
    Notify("Size");
}

void FontObject::SetSize(double points) {
    if (!std::isfinite(points) || points < 0 || points > 1.0e9)
        throw HostError("font size out of range");
    SetSizeTenThousandths(std::llround(points * 10000.0));
}

void FontObject::SetBold(bool b) {
    if (b == bold_) return;
    bold_ = b;
    Notify("Bold");
}

void FontObject::SetItalic(bool b) {
    if (b == italic_) return;
    italic_ = b;
    Notify("Italic");
}

void FontObject::SetUnderline(bool b) {
    if (b == underline_) return;
    underline_ = b;
    Notify("Underline");
}

void FontObject::SetStrikethrough(bool b) {
    if (b == strikethrough_) return;
    strikethrough_ = b;
    Notify("Strikethrough");
}

FontObject::Subscription FontObject::Subscribe(const std::shared_ptr<FontObject>& font,
                                               Listener listener) {
    if (!font) return {};
    const std::uint64_t id = font->nextId_++;
    font->listeners_.emplace_back(id, std::move(listener));
    return Subscription(font, id);
}

// A listener may subscribe, unsubscribe or destroy other listeners' owners while it runs, so
// each one is looked up again by id just before it is called.
void FontObject::Notify(std::string_view propertyName) {
    std::vector<std::uint64_t> ids;
    ids.reserve(listeners_.size());
    for (const auto& l : listeners_) ids.push_back(l.first);
    for (std::uint64_t id : ids) {
        auto it = std::find_if(listeners_.begin(), listeners_.end(),
                               [&](const auto& l) { return l.first == id; });
        if (it == listeners_.end()) continue;
        Listener call = it->second;
        call(propertyName);
    }
}

}  // namespace tarvex
