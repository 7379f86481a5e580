// The widget that hosts one TarvexButton: its life, the form's font, the private interface the
// programs of this tree use, and the control's events passed on to the window. Input,
// presentation, Qt's own state, form and service answers have sources of their own.
#include <QShortcut>
#include <QTimer>

#include "button/PropertyBag.hpp"
#include "host/qt/Accessibility.hpp"
#include "host/qt/WidgetPrivate.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

TarvexButtonWidgetPrivate::TarvexButtonWidgetPrivate(Start start, QString name,
                                                     std::optional<int> index,
                                                     const PropertyBag* stored)
    : start_(start), initialName_(std::move(name)), initialSet_(stored), index_(index) {}

TarvexButtonWidgetPrivate::~TarvexButtonWidgetPrivate() = default;

// Loading starts from an empty stored set; each later write and each new name read it again.
TarvexButtonWidget::TarvexButtonWidget(QWidget* parent)
    : TarvexButtonWidget(
          std::make_unique<TarvexButtonWidgetPrivate>(TarvexButtonWidgetPrivate::Start::QtWay,
                                                      QString(), std::nullopt, nullptr),
          parent) {}

TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       std::optional<int> index)
    : TarvexButtonWidget(std::make_unique<TarvexButtonWidgetPrivate>(
                             TarvexButtonWidgetPrivate::Start::NewInstance, name, index, nullptr),
                         parent) {}

TarvexButtonWidget::TarvexButtonWidget(std::unique_ptr<TarvexButtonWidgetPrivate> d,
                                       QWidget* parent)
    : QWidget(parent), d_(std::move(d)) {
    d_->init(this);
}

TarvexButtonWidget* TarvexButtonWidgetPrivate::Create(std::unique_ptr<TarvexButtonWidgetPrivate> d,
                                                      QWidget* parent) {
    return new TarvexButtonWidget(std::move(d), parent);
}

// A control starts either from the new-instance defaults or from a stored set, never both.
void TarvexButtonWidgetPrivate::init(TarvexButtonWidget* widget) {
    q = widget;
    InstallButtonAccessibility();
    FollowApplicationPaletteByDefault();
    coloursGeneration_ = SystemColoursGeneration();
    q->setObjectName(initialName_);
    if (index_) SetControlIndex(q, *index_);
    q->setFocusPolicy(Qt::StrongFocus);
    q->setMouseTracking(true);
    q->setAttribute(Qt::WA_OpaquePaintEvent);
    q->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);
    QWidget* parent = q->parentWidget();
    ambientFont_ = FontObjectFrom(parent ? parent->font() : q->font());
    baseFont_ = ambientFont_;
    hoverTimer_.setInterval(kDefaultHoverInterval);
    QObject::connect(&hoverTimer_, &QTimer::timeout, q, [this] {
        // A failed tick stops the polling before it is reported: the ticks go on under a modal
        // box, and the same failure must not pile up box after box.
        const ChangeScope scope;
        const QPointer<TarvexButtonWidget> self(q);
        ReportingFailures(q, [&] {
            try {
                if (button_) button_->TimerHover_Timer();
            } catch (...) {
                if (self) hoverTimer_.stop();
                throw;
            }
        });
    });
    // The classic size of a new control; a layout gives it its size hint instead.
    q->resize(81, 25);
    button_ = std::make_unique<TarvexButton>(static_cast<ControlHost&>(*this));
    const PropertyBag* stored = std::exchange(initialSet_, nullptr);
    if (start_ == Start::QtWay) {
        static const PropertyBag kNoStoredSettings;
        button_->ReadProperties(kNoStoredSettings);
        loading_ = std::make_unique<PropertyBag>();
        QObject::connect(q, &QObject::objectNameChanged, q, [this] {
            if (loading_) rereadLoadedProperties();
            publishChanges();
        });
    } else if (stored) {
        button_->ReadProperties(*stored);
    } else {
        button_->InitProperties();
    }
    published = TakeSnapshot(*q);
}

void TarvexButtonWidgetPrivate::teardown() {
    hoverTimer_.stop();
    accessKeys_.clear();
    button_.reset();  // the terminate step, while the host is still whole
}

TarvexButtonWidget::~TarvexButtonWidget() {
    d_->teardown();
    ForgetChanges(*this);
}

void TarvexButtonWidgetPrivate::Publish(TarvexButtonWidget& widget) {
    TarvexButtonWidgetPrivate& d = *widget.d_;
    PropertySnapshot now = TakeSnapshot(widget);
    const PropertySnapshot before = std::exchange(d.published, now);
    // The caption, the icon and the look decide the size hint.
    if (before.taken &&
        (before.numbers != now.numbers || before.caption != now.caption || before.icon != now.icon))
        widget.updateGeometry();
    EmitChanges(widget, before, now);
}

// ---- The private interface ---------------------------------------------------------------------

bool HasButton(const TarvexButtonWidget& widget) {
    return TarvexButtonWidgetPrivate::Of(widget).button_ != nullptr;
}
TarvexButton& ButtonOf(TarvexButtonWidget& widget) {
    return *TarvexButtonWidgetPrivate::Of(widget).button_;
}
const TarvexButton& ButtonOf(const TarvexButtonWidget& widget) {
    return *TarvexButtonWidgetPrivate::Of(widget).button_;
}
ControlHost& HostOf(TarvexButtonWidget& widget) {
    return TarvexButtonWidgetPrivate::Of(widget);
}
const ControlHost& HostOf(const TarvexButtonWidget& widget) {
    return TarvexButtonWidgetPrivate::Of(widget);
}
std::optional<int> IndexOf(const TarvexButtonWidget& widget) {
    return TarvexButtonWidgetPrivate::Of(widget).index_;
}

TarvexButtonWidget* CreateButtonWidget(QWidget* parent, const QString& name,
                                       const PropertyBag& stored, std::optional<int> index) {
    return TarvexButtonWidgetPrivate::Create(
        std::make_unique<TarvexButtonWidgetPrivate>(TarvexButtonWidgetPrivate::Start::Stored, name,
                                                    index, &stored),
        parent);
}

void LoadProperties(TarvexButtonWidget& widget, const PropertyBag& bag) {
    const ChangeScope scope;
    TarvexButtonWidgetPrivate& d = TarvexButtonWidgetPrivate::Of(widget);
    d.button_->ReadProperties(bag);
    d.publishChanges();
}

void SetEventSink(TarvexButtonWidget& widget, ButtonEvents* sink) {
    TarvexButtonWidgetPrivate::Of(widget).sink_ = sink;
}

void SetUserMode(TarvexButtonWidget& widget, bool userMode) {
    TarvexButtonWidgetPrivate::Of(widget).userMode_ = userMode;
}

void SetDesignMode(TarvexButtonWidget* widget, bool design) {
    if (widget) SetUserMode(*widget, !design);
}

void SetAmbientFont(TarvexButtonWidget& widget, FontRef font) {
    if (!font) return;
    const ChangeScope scope;
    TarvexButtonWidgetPrivate& d = TarvexButtonWidgetPrivate::Of(widget);
    d.ambientFont_ = std::move(font);
    if (d.button_) d.button_->AmbientChanged("Font");
}

bool IsLoading(const TarvexButtonWidget& widget) {
    return TarvexButtonWidgetPrivate::Of(widget).loading_ != nullptr;
}

void FinishLoading(TarvexButtonWidget& widget) {
    TarvexButtonWidgetPrivate::Of(widget).finishLoading();
}

// ---- UserControlSite, ContainerSite ------------------------------------------------------------

std::string TarvexButtonWidgetPrivate::Name() const {
    return q->objectName().toStdString();
}
bool TarvexButtonWidgetPrivate::UserMode() const {
    return userMode_;
}
std::string TarvexButtonWidgetPrivate::DisplayName() const {
    std::string name = Name();
    if (index_) name += "(" + std::to_string(*index_) + ")";
    return name;
}
FontRef TarvexButtonWidgetPrivate::AmbientFont() const {
    return ambientFont_;
}
void TarvexButtonWidgetPrivate::PropertyChanged(std::string_view key) {
    emit q->propertyChanged(QString::fromUtf8(key.data(), qsizetype(key.size())));
}

ButtonEvents* TarvexButtonWidgetPrivate::Events() {
    return static_cast<ButtonEvents*>(this);
}

// ---- Events out ------------------------------------------------------------------------------

void TarvexButtonWidgetPrivate::Click(TarvexButton& b) {
    if (sink_ && !Outlives(b, [&] { sink_->Click(b); })) return;
    emit q->clicked();
}
void TarvexButtonWidgetPrivate::MouseDown(TarvexButton& b, std::int16_t& Button,
                                          std::int16_t& Shift, float& X, float& Y) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseDown(b, Button, Shift, X, Y); })) return;
    emit q->mouseDown(Button, Shift, X, Y);
}
void TarvexButtonWidgetPrivate::MouseMove(TarvexButton& b, std::int16_t& Button,
                                          std::int16_t& Shift, float& X, float& Y) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseMove(b, Button, Shift, X, Y); })) return;
    emit q->mouseMove(Button, Shift, X, Y);
}
void TarvexButtonWidgetPrivate::MouseUp(TarvexButton& b, std::int16_t& Button, std::int16_t& Shift,
                                        float& X, float& Y) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseUp(b, Button, Shift, X, Y); })) return;
    emit q->mouseUp(Button, Shift, X, Y);
}
void TarvexButtonWidgetPrivate::KeyPress(TarvexButton& b, std::int16_t& KeyAscii) {
    if (sink_ && !Outlives(b, [&] { sink_->KeyPress(b, KeyAscii); })) return;
    emit q->keyPress(KeyAscii);
}
void TarvexButtonWidgetPrivate::KeyDown(TarvexButton& b, std::int16_t& KeyCode,
                                        std::int16_t& Shift) {
    if (sink_ && !Outlives(b, [&] { sink_->KeyDown(b, KeyCode, Shift); })) return;
    emit q->keyDown(KeyCode, Shift);
}
void TarvexButtonWidgetPrivate::KeyUp(TarvexButton& b, std::int16_t& KeyCode, std::int16_t& Shift) {
    if (sink_ && !Outlives(b, [&] { sink_->KeyUp(b, KeyCode, Shift); })) return;
    emit q->keyUp(KeyCode, Shift);
}
void TarvexButtonWidgetPrivate::MouseOut(TarvexButton& b) {
    if (sink_ && !Outlives(b, [&] { sink_->MouseOut(b); })) return;
    emit q->mouseOut();
}

// ---- Events in -------------------------------------------------------------------------------

bool TarvexButtonWidget::event(QEvent* e) {
    return d_->event(e);
}
void TarvexButtonWidget::paintEvent(QPaintEvent*) {
    d_->paintEvent();
}
void TarvexButtonWidget::resizeEvent(QResizeEvent*) {
    d_->resizeEvent();
}
void TarvexButtonWidget::showEvent(QShowEvent* e) {
    d_->showEvent(e);
}
void TarvexButtonWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    d_->changeEvent(e);
}
void TarvexButtonWidget::mousePressEvent(QMouseEvent* e) {
    d_->mousePressEvent(e);
}
void TarvexButtonWidget::mouseMoveEvent(QMouseEvent* e) {
    d_->mouseMoveEvent(e);
}
void TarvexButtonWidget::mouseReleaseEvent(QMouseEvent* e) {
    d_->mouseReleaseEvent(e);
}
void TarvexButtonWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    d_->mouseDoubleClickEvent(e);
}
void TarvexButtonWidget::keyPressEvent(QKeyEvent* e) {
    d_->keyPressEvent(e);
}
void TarvexButtonWidget::keyReleaseEvent(QKeyEvent* e) {
    d_->keyReleaseEvent(e);
}
void TarvexButtonWidget::focusInEvent(QFocusEvent* e) {
    d_->focusInEvent(e);
}
void TarvexButtonWidget::focusOutEvent(QFocusEvent* e) {
    d_->focusOutEvent(e);
}
QSize TarvexButtonWidget::sizeHint() const {
    return d_->preferredSize();
}
QSize TarvexButtonWidget::minimumSizeHint() const {
    return d_->preferredSize();
}

}  // namespace tarvex::qt
