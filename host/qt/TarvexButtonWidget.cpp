// The widget that hosts one TarvexButton: Qt's events in, the control's services out.
#include "host/qt/TarvexButtonWidget.hpp"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QStyleHints>
#include <QTime>
#include <cmath>

#include "button/PropertyBag.hpp"

namespace tarvex::qt {

namespace {

constexpr std::int16_t kShiftBit = 1;
constexpr std::int16_t kCtrlBit = 2;
constexpr std::int16_t kAltBit = 4;
constexpr std::int16_t kCustomPointer = 99;
constexpr std::int32_t kDefaultHoverInterval = 100;

std::int16_t ShiftState(Qt::KeyboardModifiers m) {
    std::int16_t s = 0;
    if (m & Qt::ShiftModifier) s |= kShiftBit;
    if (m & Qt::ControlModifier) s |= kCtrlBit;
    if (m & Qt::AltModifier) s |= kAltBit;
    return s;
}

std::int16_t ButtonCode(Qt::MouseButton b) {
    switch (b) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

std::int16_t ButtonsHeld(Qt::MouseButtons held) {
    std::int16_t code = 0;
    for (Qt::MouseButton b : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (held & b) code |= ButtonCode(b);
    return code;
}

// The classic virtual-key code of a Qt key; 0 for a key that has none.
std::int16_t VirtualKeyCode(const QKeyEvent& e) {
    const int k = e.key();
    const bool keypad = e.modifiers() & Qt::KeypadModifier;
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return std::int16_t((keypad ? 96 : 48) + (k - Qt::Key_0));
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return std::int16_t(k);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return std::int16_t(112 + (k - Qt::Key_F1));
    switch (k) {
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_Clear:
            return 12;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Alt:
            return 18;
        case Qt::Key_Pause:
            return 19;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_End:
            return 35;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Select:
            return 41;
        case Qt::Key_Print:
            return 44;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Help:
            return 47;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return 91;
        case Qt::Key_Super_R:
            return 92;
        case Qt::Key_Menu:
            return 93;
        // Shifted symbols report the key they are typed on (the common US layout), as the
        // digit and punctuation keys do unshifted.
        case Qt::Key_ParenRight:
            return 48;
        case Qt::Key_Exclam:
            return 49;
        case Qt::Key_At:
            return 50;
        case Qt::Key_NumberSign:
            return 51;
        case Qt::Key_Dollar:
            return 52;
        case Qt::Key_Percent:
            return 53;
        case Qt::Key_AsciiCircum:
            return 54;
        case Qt::Key_Ampersand:
            return 55;
        case Qt::Key_ParenLeft:
            return 57;
        case Qt::Key_Colon:
            return 186;
        case Qt::Key_Less:
            return 188;
        case Qt::Key_Underscore:
            return 189;
        case Qt::Key_Greater:
            return 190;
        case Qt::Key_Question:
            return 191;
        case Qt::Key_AsciiTilde:
            return 192;
        case Qt::Key_BraceLeft:
            return 219;
        case Qt::Key_Bar:
            return 220;
        case Qt::Key_BraceRight:
            return 221;
        case Qt::Key_QuoteDbl:
            return 222;
        case Qt::Key_Asterisk:
            return keypad ? 106 : 56;
        case Qt::Key_Plus:
            return keypad ? 107 : 187;
        case Qt::Key_Minus:
            return keypad ? 109 : 189;
        case Qt::Key_Period:
            return keypad ? 110 : 190;
        case Qt::Key_Slash:
            return keypad ? 111 : 191;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        case Qt::Key_Semicolon:
            return 186;
        case Qt::Key_Equal:
            return 187;
        case Qt::Key_Comma:
            return 188;
        case Qt::Key_QuoteLeft:
            return 192;
        case Qt::Key_BracketLeft:
            return 219;
        case Qt::Key_Backslash:
            return 220;
        case Qt::Key_BracketRight:
            return 221;
        case Qt::Key_Apostrophe:
            return 222;
        default:
            return 0;
    }
}

Qt::CursorShape CursorShapeOf(std::int16_t pointer) {
    switch (pointer) {
        case 1:
            return Qt::ArrowCursor;
        case 2:
            return Qt::CrossCursor;
        case 3:
            return Qt::IBeamCursor;
        case 4:
            return Qt::ArrowCursor;  // "icon": no Qt counterpart
        case 5:
            return Qt::SizeAllCursor;
        case 6:
            return Qt::SizeBDiagCursor;
        case 7:
            return Qt::SizeVerCursor;
        case 8:
            return Qt::SizeFDiagCursor;
        case 9:
            return Qt::SizeHorCursor;
        case 10:
            return Qt::UpArrowCursor;
        case 11:
            return Qt::WaitCursor;
        case 12:
            return Qt::ForbiddenCursor;
        case 13:
            return Qt::BusyCursor;
        case 14:
            return Qt::WhatsThisCursor;
        case 15:
            return Qt::SizeAllCursor;
        default:
            return Qt::ArrowCursor;
    }
}

bool IsKnownPointer(std::int16_t pointer) {
    return (pointer >= 0 && pointer <= 15) || pointer == kCustomPointer;
}

FontRef FontObjectFrom(const QFont& f) {
    const double points = f.pointSizeF() > 0 ? f.pointSizeF() : 8.25;
    FontRef font = FontObject::Create(f.family().toStdString(), std::llround(points * 10000.0));
    font->SetBold(f.bold());
    font->SetItalic(f.italic());
    font->SetUnderline(f.underline());
    font->SetStrikethrough(f.strikeOut());
    return font;
}

gdi::COLORREF ToColorRef(const QColor& c) {
    return gdi::RGB(std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue()));
}

// The controls of a form in a fixed order (depth first, in creation order): every named widget
// inside the window, windows of their own excepted.
QList<QWidget*> FormControls(const QWidget* form) {
    QList<QWidget*> result;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        if (w->isWindow()) continue;
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith(QLatin1String("qt_"))) continue;
        result.push_back(w);
    }
    return result;
}

QString FormNameOf(const QWidget* form) {
    return form->objectName().isEmpty() ? QStringLiteral("Form") : form->objectName();
}

FormControl DescribeControl(QWidget* w) {
    FormControl c;
    c.name = w->objectName().toStdString();
    c.index = ControlIndex(w);
    const QWidget* form = w->window();
    c.containerName = FormNameOf(form).toStdString();
    for (const QWidget* p = w->parentWidget(); p && p != form; p = p->parentWidget()) {
        if (IsContainer(p)) {
            c.containerName = p->objectName().toStdString();
            c.containerIndex = ControlIndex(p);
            break;
        }
    }
    if (auto* host = qobject_cast<TarvexButtonWidget*>(w); host && host->hasButton())
        c.button = &host->button();
    return c;
}

// Runs `step` and answers whether the control outlived it: a container's handler may delete the
// widget, and the control with it, inside the event that `step` raises.
template <typename Step>
bool Outlives(const TarvexButton& b, Step step) {
    const std::weak_ptr<const void> life = b.LifeToken();
    step();
    return !life.expired();
}

// A failure inside one of the control's handlers (or the window's handlers of its events) ends
// that handler and is reported like any error in an event handler; the program goes on. No
// exception is let through Qt's event dispatch, which does not survive one.
template <typename Step>
void ReportingFailures(QWidget* widget, Step step) {
    const QPointer<QWidget> parent(widget);
    QString failure;
    try {
        step();
        return;
    } catch (const std::exception& error) {
        failure = QString::fromUtf8(error.what());
    } catch (...) {
        failure = QStringLiteral("A button's event handler failed.");
    }
    CurrentMessageBoxService().Show(parent.data(), failure, vbCritical | vbOKOnly,
                                    ApplicationTitle());
}

bool SameName(const std::string& a, std::string_view b) {
    return QString::fromStdString(a).compare(QString::fromUtf8(b.data(), qsizetype(b.size())),
                                             Qt::CaseInsensitive) == 0;
}

}  // namespace

TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       std::optional<int> index)
    : TarvexButtonWidget(parent, name, index, nullptr) {}

TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       const PropertyBag& stored, std::optional<int> index)
    : TarvexButtonWidget(parent, name, index, &stored) {}

// A control starts either from the new-instance defaults or from a stored set, never both.
TarvexButtonWidget::TarvexButtonWidget(QWidget* parent, const QString& name,
                                       std::optional<int> index, const PropertyBag* stored)
    : QWidget(parent), index_(index) {
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

// ---- Qt events -------------------------------------------------------------------------------

bool TarvexButtonWidget::event(QEvent* e) {
    bool handled = true;
    ReportingFailures(this, [&] {
        if (e->type() == QEvent::WindowActivate) leaveFocusTakenWhileInactive();
        handled = QWidget::event(e);
    });
    return handled;
}

// The focus-out of an inactive window is not the form's own (see focusOutEvent); if the form's
// focus moved on to another control meanwhile, this button has lost it once the window is back.
void TarvexButtonWidget::leaveFocusTakenWhileInactive() {
    if (button_ && button_->mHasFocus == kTrue && window()->focusWidget() != this)
        button_->ExitFocus();
}

void TarvexButtonWidget::paintEvent(QPaintEvent*) {
    if (!button_) return;
    const gdi::Surface& image = button_->BackBuffer();
    if (image.empty()) return;
    // The back buffer is shown where it lies: no copy of its pixels.
    const QImage view(reinterpret_cast<const uchar*>(image.bits()), image.width(), image.height(),
                      qsizetype(image.stride()) * 4, QImage::Format_RGB32);
    QPainter painter(this);
    painter.drawImage(0, 0, view);
}

void TarvexButtonWidget::resizeEvent(QResizeEvent*) {
    if (button_) button_->Resize();
}

void TarvexButtonWidget::showEvent(QShowEvent* event) {
    if (button_ && !event->spontaneous()) button_->Show();
}

bool TarvexButtonWidget::isSecondPressOfDoubleClick(const QMouseEvent& e) const {
    if (!lastPressValid_ || e.button() != lastPressButton_) return false;
    const QStyleHints* hints = QGuiApplication::styleHints();
    const quint64 elapsed = e.timestamp() - lastPressTime_;
    const QPointF moved = e.position() - lastPressPos_;
    const int distance = hints->mouseDoubleClickDistance();
    return elapsed < quint64(hints->mouseDoubleClickInterval()) &&
           std::abs(moved.x()) <= distance && std::abs(moved.y()) <= distance;
}

// Only the left, right and middle buttons reach the control: a side (back/forward) button
// neither presses nor clicks it.
bool TarvexButtonWidget::isControlButton(const QMouseEvent& e) {
    return ButtonCode(e.button()) != 0;
}

void TarvexButtonWidget::mousePressEvent(QMouseEvent* e) {
    if (!button_ || !isControlButton(*e)) {
        e->ignore();
        return;
    }
    e->accept();
    if (isSecondPressOfDoubleClick(*e)) {
        // Only the double-click reaches the control; the platform's own double-click event that
        // may follow is then ignored.
        lastPressValid_ = false;
        doubleClickHandled_ = true;
        button_->DblClickHandler();
        return;
    }
    lastPressValid_ = true;
    lastPressButton_ = e->button();
    lastPressTime_ = e->timestamp();
    lastPressPos_ = e->position();
    doubleClickHandled_ = false;
    if (gestureButton_ == Qt::NoButton) gestureButton_ = e->button();
    button_->MouseDownHandler(ButtonCode(e->button()), ShiftState(e->modifiers()),
                              float(e->position().x()), float(e->position().y()));
}

void TarvexButtonWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!button_ || !isControlButton(*e)) {
        e->ignore();
        return;
    }
    e->accept();
    if (doubleClickHandled_) {
        doubleClickHandled_ = false;
        return;
    }
    lastPressValid_ = false;
    button_->DblClickHandler();
}

void TarvexButtonWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!button_) return;
    button_->MouseMoveHandler(ButtonsHeld(e->buttons()), ShiftState(e->modifiers()),
                              float(e->position().x()), float(e->position().y()));
}

void TarvexButtonWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!button_ || !isControlButton(*e)) {
        e->ignore();
        return;
    }
    e->accept();
    const QPoint at = e->position().toPoint();
    const bool endsGesture = e->button() == gestureButton_;
    const bool onControl = rect().contains(at) && (mask().isEmpty() || mask().contains(at));
    if (endsGesture) gestureButton_ = Qt::NoButton;
    const bool stays = Outlives(*button_, [&] {
        button_->MouseUpHandler(ButtonCode(e->button()), ShiftState(e->modifiers()),
                                float(e->position().x()), float(e->position().y()));
    });
    if (!stays) return;
    if (endsGesture && onControl) button_->ClickHandler();
}

void TarvexButtonWidget::keyPressEvent(QKeyEvent* e) {
    if (!button_) return;
    e->accept();
    if (const std::int16_t code = VirtualKeyCode(*e)) {
        if (!Outlives(*button_, [&] { button_->KeyDownHandler(code, ShiftState(e->modifiers())); }))
            return;
    }
    // Alt with a key is a command, not typing: it raises no KeyPress (Ctrl+Alt, which some
    // layouts use to type characters, still does).
    const Qt::KeyboardModifiers mods = e->modifiers();
    if ((mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) return;
    const QString text = e->text();
    if (text.size() == 1 && text.front().unicode() < 256)
        button_->KeyPressHandler(std::int16_t(text.front().unicode()));
}

void TarvexButtonWidget::keyReleaseEvent(QKeyEvent* e) {
    if (!button_) return;
    e->accept();
    if (e->isAutoRepeat()) return;  // repeats raise key-downs only
    if (const std::int16_t code = VirtualKeyCode(*e))
        button_->KeyUpHandler(code, ShiftState(e->modifiers()));
}

// Another window becoming active is no focus change of the form's own.
void TarvexButtonWidget::focusInEvent(QFocusEvent* e) {
    if (!button_) return;
    if (e->reason() == Qt::ActiveWindowFocusReason && button_->mHasFocus) return;
    button_->EnterFocus();
}

void TarvexButtonWidget::focusOutEvent(QFocusEvent* e) {
    if (!button_) return;
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    button_->ExitFocus();
}

void TarvexButtonWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (button_ && e->type() == QEvent::PaletteChange) button_->AmbientChanged("BackColor");
}

void TarvexButtonWidget::onAccessKey(char16_t key) {
    if (!button_ || !isEnabled() || !isVisible()) return;
    ReportingFailures(this, [&] { button_->AccessKeyPress(std::int16_t(key)); });
}

void TarvexButtonWidget::applyCursor() {
    if (mousePointer_ == kCustomPointer && mouseIcon_ && mouseIcon_->HasHandle()) {
        const gdi::Surface& s = mouseIcon_->Pixels();
        const QImage view(reinterpret_cast<const uchar*>(s.bits()), s.width(), s.height(),
                          qsizetype(s.stride()) * 4, QImage::Format_ARGB32);
        setCursor(QCursor(QPixmap::fromImage(view)));  // QPixmap copies the pixels
    } else if (mousePointer_ == 0 || mousePointer_ == kCustomPointer) {
        unsetCursor();
    } else {
        setCursor(CursorShapeOf(mousePointer_));
    }
}

// ---- UserControlSite -------------------------------------------------------------------------

std::uintptr_t TarvexButtonWidget::hWnd() const {
    return reinterpret_cast<std::uintptr_t>(static_cast<const QWidget*>(this));
}
std::int32_t TarvexButtonWidget::ScaleWidth() const {
    return width();
}
std::int32_t TarvexButtonWidget::ScaleHeight() const {
    return height();
}

// Presents at once when shown, so that the access key's pressed look appears before its pause.
void TarvexButtonWidget::Refresh() {
    if (isVisible() && updatesEnabled())
        repaint();
    else
        update();
}

void TarvexButtonWidget::SetWindowRgn(std::optional<gdi::Region> region, bool redraw) {
    if (!region) {
        clearMask();
    } else if (region->empty()) {
        // An empty shape hides the window; an empty QRegion would remove the mask instead.
        setMask(QRegion(-1, -1, 1, 1));
    } else {
        setMask(ToQRegion(*region));
    }
    if (redraw) update();
}

bool TarvexButtonWidget::Enabled() const {
    return isEnabled();
}
void TarvexButtonWidget::SetEnabled(bool enabled) {
    setEnabled(enabled);
}
FontRef TarvexButtonWidget::Font() const {
    return baseFont_;
}
void TarvexButtonWidget::SetFont(FontRef f) {
    baseFont_ = std::move(f);
}
std::int16_t TarvexButtonWidget::MousePointer() const {
    return mousePointer_;
}
void TarvexButtonWidget::SetMousePointer(std::int16_t pointer) {
    if (!IsKnownPointer(pointer))
        throw HostError("invalid mouse pointer " + std::to_string(pointer));
    mousePointer_ = pointer;
    applyCursor();
}
PictureRef TarvexButtonWidget::MouseIcon() const {
    return mouseIcon_;
}
void TarvexButtonWidget::SetMouseIcon(PictureRef icon) {
    mouseIcon_ = std::move(icon);
    applyCursor();
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

// ---- ParentFormSite --------------------------------------------------------------------------

std::string TarvexButtonWidget::FormName() const {
    return FormNameOf(window()).toStdString();
}
gdi::COLORREF TarvexButtonWidget::FormBkColor() const {
    const QWidget* container = parentWidget() ? parentWidget() : this;
    return ToColorRef(container->palette().color(QPalette::Window));
}
gdi::COLORREF TarvexButtonWidget::FormTextColor() const {
    const QWidget* container = parentWidget() ? parentWidget() : this;
    return ToColorRef(container->palette().color(QPalette::WindowText));
}
FontRef TarvexButtonWidget::FormFont() const {
    return ambientFont_;
}
std::size_t TarvexButtonWidget::ControlCount() const {
    return std::size_t(FormControls(window()).size());
}
std::optional<FormControl> TarvexButtonWidget::ControlAt(std::size_t position) const {
    const QList<QWidget*> controls = FormControls(window());
    if (position >= std::size_t(controls.size())) return std::nullopt;
    return DescribeControl(controls[qsizetype(position)]);
}
FormControl TarvexButtonWidget::FindControl(std::string_view name,
                                            std::optional<std::int32_t> index) const {
    for (QWidget* w : FormControls(window())) {
        if (SameName(w->objectName().toStdString(), name) && ControlIndex(w) == index)
            return DescribeControl(w);
    }
    std::string what(name);
    if (index) what += "(" + std::to_string(*index) + ")";
    throw HostError("control \"" + what + "\" not found on the form");
}

// ---- ServiceSite -----------------------------------------------------------------------------

void TarvexButtonWidget::SetAccessKeys(std::string_view keys) {
    accessKeys_.clear();
    for (const QChar ch : QString::fromUtf8(keys.data(), qsizetype(keys.size()))) {
        const char16_t key = ch.toLower().unicode();
        const int qtKey = int(ch.toUpper().unicode());
        auto shortcut = std::make_unique<QShortcut>(QKeySequence(int(Qt::ALT) | qtKey), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut.get(), &QShortcut::activated, this, [this, key] { onAccessKey(key); });
        connect(shortcut.get(), &QShortcut::activatedAmbiguously, this,
                [this, key] { onAccessKey(key); });
        accessKeys_.push_back(std::move(shortcut));
    }
}

void TarvexButtonWidget::SetHoverTimerInterval(std::int32_t milliseconds) {
    hoverTimer_.setInterval(std::max(0, milliseconds));
}
// Enabling a running timer leaves its count alone (QTimer::start would restart it), so moves that
// keep coming from outside during a held press cannot put the next tick off indefinitely.
void TarvexButtonWidget::SetHoverTimerEnabled(bool enabled) {
    if (!enabled)
        hoverTimer_.stop();
    else if (!hoverTimer_.isActive())
        hoverTimer_.start();
}
bool TarvexButtonWidget::HoverTimerEnabled() const {
    return hoverTimer_.isActive();
}

// The widget under the cursor, masks respected (a shaped button's cut-off corners belong to
// whatever lies below them).
std::uintptr_t TarvexButtonWidget::WindowUnderCursor() const {
    return reinterpret_cast<std::uintptr_t>(QApplication::widgetAt(QCursor::pos()));
}

std::int32_t TarvexButtonWidget::TwipsPerPixelY() const {
    const QScreen* s = screen();
    const double dpi = s ? s->logicalDotsPerInchY() : 96.0;
    return dpi > 0 ? std::int32_t(1440.0 / dpi) : 15;
}

std::int32_t TarvexButtonWidget::MsgBox(std::string_view text, std::int32_t style,
                                        std::string_view title) {
    const QString shownTitle = title.empty()
                                   ? ApplicationTitle()
                                   : QString::fromUtf8(title.data(), qsizetype(title.size()));
    return CurrentMessageBoxService().Show(
        this, QString::fromUtf8(text.data(), qsizetype(text.size())), style, shownTitle);
}

std::string TarvexButtonWidget::AppTitle() const {
    return ApplicationTitle().toStdString();
}

// Keystrokes are queued for the focused widget, as typed keys would be.
void TarvexButtonWidget::SendKeys(std::string_view keys) {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    if (keys == "{Tab}") {
        key = Qt::Key_Tab;
    } else if (keys == "+{Tab}") {
        key = Qt::Key_Backtab;
        modifiers = Qt::ShiftModifier;
    } else {
        throw HostError("keystrokes \"" + std::string(keys) + "\" are not supported");
    }
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, modifiers));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, modifiers));
}

double TarvexButtonWidget::Timer() const {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
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
