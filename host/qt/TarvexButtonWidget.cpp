// The widget that hosts one TarvexButton: its life, the form's font, and the control's events
// passed on to the window. Input, presentation, form and service answers have sources of their own.
#include "host/qt/TarvexButtonWidget.hpp"

#include <QShortcut>
#include <QTimer>

#include "button/PropertyBag.hpp"
#include "host/qt/Accessibility.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

namespace {
const PropertyBag kNoStoredSettings;
}  // namespace

TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       std::optional<int> index)
    : TarvexButtonWidget(parent, name, index, nullptr) {}

TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       const PropertyBag& stored, std::optional<int> index)
    : TarvexButtonWidget(parent, name, index, &stored) {}

// Loading starts from an empty stored set; each later write and each new name read it again.
TarvexButtonWidget::TarvexButtonWidget(QWidget* parent)
    : TarvexButtonWidget(parent, QString(), std::nullopt, &kNoStoredSettings) {
    loading_ = std::make_unique<PropertyBag>();
    connect(this, &QObject::objectNameChanged, this, [this] {
        if (loading_) rereadLoadedProperties();
    });
}

// A control starts either from the new-instance defaults or from a stored set, never both.
TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       std::optional<int> index, const PropertyBag* stored)
    : QWidget(parent), index_(index) {
    InstallButtonAccessibility();
    setObjectName(name);
    if (index) SetControlIndex(this, *index);
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ambientFont_ = FontObjectFrom(parent ? parent->font() : font());
    baseFont_ = ambientFont_;
    hoverTimer_.setInterval(kDefaultHoverInterval);
    connect(&hoverTimer_, &QTimer::timeout, this, [this] {
        // A failed tick stops the polling before it is reported: the ticks go on under a modal
        // box, and the same failure must not pile up box after box.
        const QPointer<TarvexButtonWidget> self(this);
        ReportingFailures(this, [&] {
            try {
                if (button_) button_->TimerHover_Timer();
            } catch (...) {
                if (self) self->hoverTimer_.stop();
                throw;
            }
        });
    });
    resize(sizeHint());
    button_ = std::make_unique<TarvexButton>(static_cast<ControlHost&>(*this));
    if (stored) {
        button_->ReadProperties(*stored);
    } else {
        button_->InitProperties();
    }
}

TarvexButtonWidget::~TarvexButtonWidget() {
    hoverTimer_.stop();
    accessKeys_.clear();
    button_.reset();  // the terminate step, while the host is still whole
}

void TarvexButtonWidget::loadProperties(const PropertyBag& bag) {
    button_->ReadProperties(bag);
}

void TarvexButtonWidget::setAmbientFont(FontRef font) {
    if (!font) return;
    ambientFont_ = std::move(font);
    if (button_) button_->AmbientChanged("Font");
}

QSize TarvexButtonWidget::sizeHint() const {
    return {81, 25};
}

bool TarvexButtonWidget::Enabled() const {
    return isEnabled();
}
void TarvexButtonWidget::SetEnabled(bool enabled) {
    QWidget::setEnabled(enabled);
}
FontRef TarvexButtonWidget::Font() const {
    return baseFont_;
}
void TarvexButtonWidget::SetFont(FontRef f) {
    baseFont_ = std::move(f);
}
std::string TarvexButtonWidget::Name() const {
    return objectName().toStdString();
}

// ---- ContainerSite ---------------------------------------------------------------------------

bool TarvexButtonWidget::UserMode() const {
    return userMode_;
}
std::string TarvexButtonWidget::DisplayName() const {
    std::string name = Name();
    if (index_) name += "(" + std::to_string(*index_) + ")";
    return name;
}
FontRef TarvexButtonWidget::AmbientFont() const {
    return ambientFont_;
}
void TarvexButtonWidget::PropertyChanged(std::string_view key) {
    emit propertyChanged(QString::fromUtf8(key.data(), qsizetype(key.size())));
}

ButtonEvents* TarvexButtonWidget::Events() {
    return static_cast<ButtonEvents*>(this);
}

// ---- Events out ------------------------------------------------------------------------------

void TarvexButtonWidget::Click(TarvexButton& b) {
    if (sink_ && !Outlives(b, [&] { sink_->Click(b); })) return;
    emit clicked();
}
void TarvexButtonWidget::MouseDown(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift,
                                   float& X, float& Y) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseDown(b, Button, Shift, X, Y); })) return;
    emit mouseDown(Button, Shift, X, Y);
}
void TarvexButtonWidget::MouseMove(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift,
                                   float& X, float& Y) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseMove(b, Button, Shift, X, Y); })) return;
    emit mouseMove(Button, Shift, X, Y);
}
void TarvexButtonWidget::MouseUp(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift,
                                 float& X, float& Y) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseUp(b, Button, Shift, X, Y); })) return;
    emit mouseUp(Button, Shift, X, Y);
}
void TarvexButtonWidget::KeyPress(TarvexButton& b, std::int16_t& KeyAscii) {
    if (sink_ && !Outlives(b, [&] { sink_->KeyPress(b, KeyAscii); })) return;
    emit keyPress(KeyAscii);
}
void TarvexButtonWidget::KeyDown(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) {
    if (sink_ && !Outlives(b, [&] { sink_->KeyDown(b, KeyCode, Shift); })) return;
    emit keyDown(KeyCode, Shift);
}
void TarvexButtonWidget::KeyUp(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) {
    if (sink_ && !Outlives(b, [&] { sink_->KeyUp(b, KeyCode, Shift); })) return;
    emit keyUp(KeyCode, Shift);
}
void TarvexButtonWidget::MouseOut(TarvexButton& b) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseOut(b); })) return;
    emit mouseOut();
}

}  // namespace tarvex::qt
