// The control's public properties as Qt properties. A write while the widget is loading joins the
// stored settings the control reads (as a layout's are read: taken as they are); any later write
// runs the control's own property procedure, whose range checks, run-mode rules, notifications
// and redraws decide what happens.
#include <QImage>
#include <QMetaType>
#include <array>
#include <cstring>

#include "button/PropertyBag.hpp"
#include "host/qt/WidgetPrivate.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

namespace {

// The public enumerations repeat the control's values, since the public header includes none of
// the control's: each must stay the number the control and stored layouts use.
using W = TarvexButtonWidget;
template <typename Public, typename Core>
constexpr bool Same(Public shown, Core kept) {
    return static_cast<std::int32_t>(shown) == static_cast<std::int32_t>(kept);
}
static_assert(Same(W::FramedBevel, ButtonType::FramedBevel) &&
              Same(W::Classic, ButtonType::Classic) && Same(W::Shaded, ButtonType::Shaded) &&
              Same(W::EtchedFlat, ButtonType::EtchedFlat) &&
              Same(W::LightBevel, ButtonType::LightBevel) &&
              Same(W::FlatBevel, ButtonType::FlatBevel) &&
              Same(W::HoverEdge, ButtonType::HoverEdge) &&
              Same(W::SoftFrame, ButtonType::SoftFrame));
static_assert(Same(W::SystemColors, ColorScheme::SystemColors) &&
              Same(W::CustomColors, ColorScheme::CustomColors) &&
              Same(W::FixedGrey, ColorScheme::FixedGrey) &&
              Same(W::ContainerColors, ColorScheme::ContainerColors) &&
              Same(W::CustomGradient, ColorScheme::CustomGradient));
static_assert(Same(W::AlignLeft, Alignment::AlignLeft) &&
              Same(W::AlignCenter, Alignment::AlignCenter) &&
              Same(W::AlignRight, Alignment::AlignRight));
static_assert(Same(W::Horizontal, CaptionOrientation::Horizontal) &&
              Same(W::VerticalUp, CaptionOrientation::VerticalUp) &&
              Same(W::VerticalDown, CaptionOrientation::VerticalDown));
static_assert(Same(W::Plain, CaptionStyle::Plain) && Same(W::Engraved, CaptionStyle::Engraved) &&
              Same(W::Embossed, CaptionStyle::Embossed) &&
              Same(W::Shadowed, CaptionStyle::Shadowed));
static_assert(Same(W::Rectangular, ButtonStyle::Rectangular) &&
              Same(W::SegmentLeft, ButtonStyle::SegmentLeft) &&
              Same(W::SegmentMiddle, ButtonStyle::SegmentMiddle) &&
              Same(W::SegmentRight, ButtonStyle::SegmentRight));
static_assert(Same(W::Size8, IconSize::Size8) && Same(W::Size16, IconSize::Size16) &&
              Same(W::Size24, IconSize::Size24) && Same(W::Size32, IconSize::Size32));
static_assert(Same(W::LeftToRight, GradientOrientation::LeftToRight) &&
              Same(W::TopToBottom, GradientOrientation::TopToBottom) &&
              Same(W::RightToLeft, GradientOrientation::RightToLeft) &&
              Same(W::BottomToTop, GradientOrientation::BottomToTop));

OleColor ToOleColor(const QColor& c) {
    return OleColor(
        gdi::RGB(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())));
}

// Colour properties hold explicit colours: a system colour is translated when it is assigned.
QColor ToQColor(OleColor colour) {
    const auto rgb = std::uint32_t(TarvexButton::TranslateColor(colour));
    return QColor(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

QColor SystemColorToQColor(const SystemColor& c) {
    return ToQColor(OleColor(0x80000000u | std::uint32_t(c.index)));
}

// Once per process, even where a second copy of the widget is loaded beside the first. Through
// the untyped registration: the typed one would export its template's own statics.
bool RegisterSystemColorConversion() {
    const QMetaType from = QMetaType::fromType<SystemColor>();
    const QMetaType to = QMetaType::fromType<QColor>();
    if (QMetaType::hasRegisteredConverterFunction(from, to)) return true;
    return QMetaType::registerConverterFunction(
        [](const void* in, void* out) {
            *static_cast<QColor*>(out) = SystemColorToQColor(*static_cast<const SystemColor*>(in));
            return true;
        },
        from, to);
}

[[maybe_unused]] const bool kSystemColorConverts = RegisterSystemColorConversion();

// A picture of the control's own (its pixels copied); the null pixmap is no picture.
PictureRef ToPicture(const QPixmap& pixmap, std::int32_t type) {
    if (pixmap.isNull()) return nullptr;
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    gdi::Surface pixels(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        std::memcpy(pixels.row(y), image.constScanLine(y),
                    static_cast<std::size_t>(image.width()) * sizeof(std::uint32_t));
    }
    return std::make_shared<Picture>(std::move(pixels), type);
}

QPixmap ToQPixmap(const PictureRef& picture) {
    if (!picture || !picture->HasHandle()) return {};
    const gdi::Surface& s = picture->Pixels();
    const QImage view(reinterpret_cast<const uchar*>(s.bits()), s.width(), s.height(),
                      qsizetype(s.stride()) * 4, QImage::Format_ARGB32);
    return QPixmap::fromImage(view);  // copies the pixels
}

PropertyValue Number(auto value) {
    return PropertyValue::Int32(std::int32_t(value));
}
PropertyValue Colour(const QColor& c) {
    return PropertyValue::Int32(ToOleColor(c));
}

}  // namespace

void TarvexButtonWidgetPrivate::finishLoading() {
    if (!loading_) return;
    const ChangeScope scope;
    const bool nothingStored = loading_->empty();
    loading_.reset();
    // A designer shows a control it has just placed without any stored setting.
    if (nothingStored && !userMode_ && button_) button_->InitProperties();
    publishChanges();
}

void TarvexButtonWidgetPrivate::rereadLoadedProperties() {
    button_->ReadProperties(*loading_);
}

void TarvexButtonWidgetPrivate::assignProperty(std::string_view key, const PropertyValue& stored,
                                               const std::function<void(TarvexButton&)>& let) {
    if (!button_) return;
    const ChangeScope scope;
    publishChanges();
    if (loading_) {
        loading_->Write(key, stored);
        rereadLoadedProperties();
        return;
    }
    // A failure the control hands on (a pointer code the host refuses) is reported like one in
    // an event handler: Qt's property system does not survive an exception.
    ReportingFailures(q, [&] { let(*button_); });
}

// ---- Reading ---------------------------------------------------------------------------------

auto TarvexButtonWidget::alignment() const -> Alignment {
    return Alignment(d_->button_->Alignment());
}
bool TarvexButtonWidget::showFocus() const {
    return d_->button_->ShowFocus() != 0;
}
auto TarvexButtonWidget::graphicsMode() const -> GraphicsMode {
    return GraphicsMode(d_->button_->GraphicsMode());
}
bool TarvexButtonWidget::value() const {
    return d_->button_->Value() != 0;
}
bool TarvexButtonWidget::optionButton() const {
    return d_->button_->OptionButton() != 0;
}
auto TarvexButtonWidget::iconAlignment() const -> IconAlignment {
    return IconAlignment(d_->button_->IconAlignmentValue());
}
QColor TarvexButtonWidget::embossEngraveShadow() const {
    return ToQColor(d_->button_->EmbossEngraveShadow());
}
QColor TarvexButtonWidget::embossEngraveMid() const {
    return ToQColor(d_->button_->EmbossEngraveMid());
}
QColor TarvexButtonWidget::gradientStartColor() const {
    return ToQColor(d_->button_->GradientStartColor());
}
auto TarvexButtonWidget::gradientOrientation() const -> GradientOrientation {
    return GradientOrientation(d_->button_->GradientOrientation());
}
QColor TarvexButtonWidget::gradientStopColor() const {
    return ToQColor(d_->button_->GradientStopColor());
}
QColor TarvexButtonWidget::backColor() const {
    return ToQColor(d_->button_->BackColor());
}
QColor TarvexButtonWidget::foreColor() const {
    return ToQColor(d_->button_->ForeColor());
}
QColor TarvexButtonWidget::mouseOver() const {
    return ToQColor(d_->button_->MouseOver());
}
QPixmap TarvexButtonWidget::icon() const {
    return ToQPixmap(d_->button_->Icon());
}
auto TarvexButtonWidget::buttonType() const -> ButtonType {
    return ButtonType(d_->button_->ButtonType());
}
QString TarvexButtonWidget::caption() const {
    return QString::fromStdString(d_->button_->Caption());
}
auto TarvexButtonWidget::iconSize() const -> IconSize {
    return IconSize(d_->button_->IconSize());
}
auto TarvexButtonWidget::captionStyle() const -> CaptionStyle {
    return CaptionStyle(d_->button_->CaptionStyle());
}
auto TarvexButtonWidget::colorScheme() const -> ColorScheme {
    return ColorScheme(d_->button_->ColorScheme());
}
auto TarvexButtonWidget::buttonStyle() const -> ButtonStyle {
    return ButtonStyle(d_->button_->ButtonStyle());
}
auto TarvexButtonWidget::captionOrientation() const -> CaptionOrientation {
    return CaptionOrientation(d_->button_->CaptionOrientation());
}
auto TarvexButtonWidget::mousePointer() const -> Pointer {
    return Pointer(d_->button_->MousePointer());
}
// A control whose form does not list it has no container name yet.
QString TarvexButtonWidget::container() const {
    try {
        return QString::fromStdString(d_->button_->Container());
    } catch (const HostError&) {
        return {};
    }
}
QPixmap TarvexButtonWidget::mouseIcon() const {
    return ToQPixmap(d_->button_->MouseIcon());
}
quint32 TarvexButtonWidget::hwnd() const {
    return d_->button_->hwnd();
}

// ---- Writing ---------------------------------------------------------------------------------

void TarvexButtonWidget::setAlignment(Alignment a) {
    d_->assignProperty("ALIGN", Number(a),
                       [a](TarvexButton& b) { b.SetAlignment(std::int32_t(a)); });
}
void TarvexButtonWidget::setShowFocus(bool show) {
    d_->assignProperty("SHOWF", PropertyValue::Boolean(show),
                       [show](TarvexButton& b) { b.SetShowFocus(ToVBool(show)); });
}
void TarvexButtonWidget::setGraphicsMode(GraphicsMode mode) {
    d_->assignProperty("GMODE", Number(mode),
                       [mode](TarvexButton& b) { b.SetGraphicsMode(std::int32_t(mode)); });
}
void TarvexButtonWidget::setValue(bool value) {
    d_->assignProperty("OPTVAL", PropertyValue::Boolean(value),
                       [value](TarvexButton& b) { b.SetValue(ToVBool(value)); });
}
void TarvexButtonWidget::setOptionButton(bool option) {
    d_->assignProperty("OPTMOD", PropertyValue::Boolean(option),
                       [option](TarvexButton& b) { b.SetOptionButton(ToVBool(option)); });
}
void TarvexButtonWidget::setIconAlignment(IconAlignment a) {
    d_->assignProperty("ICONAlign", Number(a),
                       [a](TarvexButton& b) { b.SetIconAlignmentValue(std::int32_t(a)); });
}
void TarvexButtonWidget::setEmbossEngraveShadow(const QColor& c) {
    d_->assignProperty("EMBOSSS", Colour(c),
                       [c](TarvexButton& b) { b.SetEmbossEngraveShadow(ToOleColor(c)); });
}
void TarvexButtonWidget::setEmbossEngraveMid(const QColor& c) {
    d_->assignProperty("EMBOSSM", Colour(c),
                       [c](TarvexButton& b) { b.SetEmbossEngraveMid(ToOleColor(c)); });
}
void TarvexButtonWidget::setGradientStartColor(const QColor& c) {
    d_->assignProperty("GStart", Colour(c),
                       [c](TarvexButton& b) { b.SetGradientStartColor(ToOleColor(c)); });
}
void TarvexButtonWidget::setGradientOrientation(GradientOrientation o) {
    d_->assignProperty("GStyle", Number(o),
                       [o](TarvexButton& b) { b.SetGradientOrientation(std::int32_t(o)); });
}
void TarvexButtonWidget::setGradientStopColor(const QColor& c) {
    d_->assignProperty("GStop", Colour(c),
                       [c](TarvexButton& b) { b.SetGradientStopColor(ToOleColor(c)); });
}
void TarvexButtonWidget::setBackColor(const QColor& c) {
    d_->assignProperty("BCOL", Colour(c), [c](TarvexButton& b) { b.SetBackColor(ToOleColor(c)); });
}
void TarvexButtonWidget::setForeColor(const QColor& c) {
    d_->assignProperty("FCOL", Colour(c), [c](TarvexButton& b) { b.SetForeColor(ToOleColor(c)); });
}
void TarvexButtonWidget::setMouseOver(const QColor& c) {
    d_->assignProperty("FCOLO", Colour(c), [c](TarvexButton& b) { b.SetMouseOver(ToOleColor(c)); });
}
void TarvexButtonWidget::setIcon(const QPixmap& icon) {
    const PictureRef picture = ToPicture(icon, kPicTypeBitmap);
    d_->assignProperty("BTNICON", PropertyValue::Picture(picture),
                       [&](TarvexButton& b) { b.SetIcon(picture); });
}
void TarvexButtonWidget::setButtonType(ButtonType t) {
    d_->assignProperty("BTYPE", Number(t),
                       [t](TarvexButton& b) { b.SetButtonType(std::int32_t(t)); });
}
void TarvexButtonWidget::setCaption(const QString& caption) {
    const std::string text = caption.toStdString();
    d_->assignProperty("TX", PropertyValue::String(text),
                       [&](TarvexButton& b) { b.SetCaption(text); });
}
void TarvexButtonWidget::setIconSize(IconSize size) {
    d_->assignProperty("IconSize", Number(size),
                       [size](TarvexButton& b) { b.SetIconSize(std::int32_t(size)); });
}
void TarvexButtonWidget::setCaptionStyle(CaptionStyle style) {
    d_->assignProperty("STYLE", Number(style),
                       [style](TarvexButton& b) { b.SetCaptionStyle(std::int32_t(style)); });
}
void TarvexButtonWidget::setColorScheme(ColorScheme scheme) {
    d_->assignProperty("COLTYPE", Number(scheme),
                       [scheme](TarvexButton& b) { b.SetColorScheme(std::int32_t(scheme)); });
}
void TarvexButtonWidget::setButtonStyle(ButtonStyle style) {
    d_->assignProperty("BSTYLE", Number(style),
                       [style](TarvexButton& b) { b.SetButtonStyle(std::int32_t(style)); });
}
void TarvexButtonWidget::setCaptionOrientation(CaptionOrientation o) {
    d_->assignProperty("ORIENT", Number(o),
                       [o](TarvexButton& b) { b.SetCaptionOrientation(std::int32_t(o)); });
}
void TarvexButtonWidget::setMousePointer(Pointer pointer) {
    d_->assignProperty("MPTR", PropertyValue::Int16(std::int16_t(pointer)),
                       [pointer](TarvexButton& b) { b.SetMousePointer(std::int32_t(pointer)); });
}
void TarvexButtonWidget::setMouseIcon(const QPixmap& icon) {
    const PictureRef picture = ToPicture(icon, kPicTypeIcon);
    d_->assignProperty("MICON", PropertyValue::Picture(picture),
                       [&](TarvexButton& b) { b.SetMouseIcon(picture); });
}

}  // namespace tarvex::qt
