// Mouse, keyboard, focus and access keys: Qt's input events mapped onto the control's handlers,
// and the keystrokes the control sends.
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcut>
#include <QStyleHints>
#include <cmath>

#include "host/qt/WidgetPrivate.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

// ---- Qt events -------------------------------------------------------------------------------

bool TarvexButtonWidgetPrivate::event(QEvent* e) {
    bool handled = true;
    // Change signals wait until the event is handled (a deferred delete ends the widget inside
    // Qt's handling; the pending list holds it weakly).
    const ChangeScope scope;
    TarvexButtonWidget* widget = q;
    const QPointer<TarvexButtonWidget> alive(widget);
    ReportingFailures(widget, [&] {
        if (e->type() == QEvent::WindowActivate) leaveFocusTakenWhileInactive();
        if (losesTheMouse(*e)) gestureButton_ = Qt::NoButton;
        // Before Qt's own handling: a deferred delete ends this widget inside it.
        followScreenScale(*e);
        handled = widget->QWidget::event(e);
    });
    // After Qt's own handling, which has given the widget its share of the new palette.
    if (alive && e->type() == QEvent::ApplicationPaletteChange)
        ReportingFailures(widget, [&] { followApplicationPalette(); });
    return handled;
}

// A gesture ends with the release of its button; when the control loses the mouse first, the
// release goes elsewhere and the gesture has to end here, or no later press would ever click.
// A modal window blocking this one takes the mouse, as does hiding or disabling the control. (A
// popup takes it too; the next mouse event then shows the button no longer held.)
bool TarvexButtonWidgetPrivate::losesTheMouse(const QEvent& e) const {
    switch (e.type()) {
        case QEvent::WindowBlocked:
        case QEvent::Hide:
            return true;
        case QEvent::EnabledChange:
            return !q->isEnabled();
        default:
            return false;
    }
}

// A press or move that shows the gesture's button no longer held: its release went to another
// window (a menu or a dialog opened meanwhile), so the gesture is over.
void TarvexButtonWidgetPrivate::forgetGestureWhoseButtonIsUp(const QMouseEvent& e) {
    if (gestureButton_ != Qt::NoButton && !(e.buttons() & gestureButton_))
        gestureButton_ = Qt::NoButton;
}

// The focus-out of an inactive window is not the form's own (see focusOutEvent); if the form's
// focus moved on to another control meanwhile, this button has lost it once the window is back.
void TarvexButtonWidgetPrivate::leaveFocusTakenWhileInactive() {
    if (button_ && button_->mHasFocus == kTrue && q->window()->focusWidget() != q)
        button_->ExitFocus();
}

bool TarvexButtonWidgetPrivate::isSecondPressOfDoubleClick(const QMouseEvent& e) const {
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
bool TarvexButtonWidgetPrivate::isControlButton(const QMouseEvent& e) {
    return ButtonCode(e.button()) != 0;
}

void TarvexButtonWidgetPrivate::mousePressEvent(QMouseEvent* e) {
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
    forgetGestureWhoseButtonIsUp(*e);
    if (gestureButton_ == Qt::NoButton) gestureButton_ = e->button();
    const QPointF at = devicePosition(*e);
    button_->MouseDownHandler(ButtonCode(e->button()), ShiftState(e->modifiers()), float(at.x()),
                              float(at.y()));
}

void TarvexButtonWidgetPrivate::mouseDoubleClickEvent(QMouseEvent* e) {
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

void TarvexButtonWidgetPrivate::mouseMoveEvent(QMouseEvent* e) {
    if (!button_) return;
    forgetGestureWhoseButtonIsUp(*e);
    const QPointF at = devicePosition(*e);
    button_->MouseMoveHandler(ButtonsHeld(e->buttons()), ShiftState(e->modifiers()), float(at.x()),
                              float(at.y()));
}

void TarvexButtonWidgetPrivate::mouseReleaseEvent(QMouseEvent* e) {
    if (!button_ || !isControlButton(*e)) {
        e->ignore();
        return;
    }
    e->accept();
    const QPointF at = devicePosition(*e);
    const bool endsGesture = e->button() == gestureButton_;
    const bool onControl = showsDevicePoint(at);
    if (endsGesture) gestureButton_ = Qt::NoButton;
    const bool stays = Outlives(*button_, [&] {
        button_->MouseUpHandler(ButtonCode(e->button()), ShiftState(e->modifiers()), float(at.x()),
                                float(at.y()));
    });
    if (!stays) return;
    if (endsGesture && onControl) button_->ClickHandler();
}

void TarvexButtonWidgetPrivate::keyPressEvent(QKeyEvent* e) {
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

void TarvexButtonWidgetPrivate::keyReleaseEvent(QKeyEvent* e) {
    if (!button_) return;
    e->accept();
    if (e->isAutoRepeat()) return;  // repeats raise key-downs only
    if (const std::int16_t code = VirtualKeyCode(*e))
        button_->KeyUpHandler(code, ShiftState(e->modifiers()));
}

// Another window becoming active is no focus change of the form's own.
void TarvexButtonWidgetPrivate::focusInEvent(QFocusEvent* e) {
    if (!button_) return;
    if (e->reason() == Qt::ActiveWindowFocusReason && button_->mHasFocus) return;
    button_->EnterFocus();
}

void TarvexButtonWidgetPrivate::focusOutEvent(QFocusEvent* e) {
    if (!button_) return;
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    button_->ExitFocus();
}

void TarvexButtonWidgetPrivate::onAccessKey(char16_t key) {
    if (!button_ || !q->isEnabled() || !q->isVisible()) return;
    const ChangeScope scope;
    ReportingFailures(q, [&] { button_->AccessKeyPress(std::int16_t(key)); });
}

void TarvexButtonWidgetPrivate::SetAccessKeys(std::string_view keys) {
    accessKeys_.clear();
    for (const QChar ch : QString::fromUtf8(keys.data(), qsizetype(keys.size()))) {
        const char16_t key = ch.toLower().unicode();
        const int qtKey = int(ch.toUpper().unicode());
        auto shortcut = std::make_unique<QShortcut>(QKeySequence(int(Qt::ALT) | qtKey), q);
        shortcut->setContext(Qt::WindowShortcut);
        QObject::connect(shortcut.get(), &QShortcut::activated, q,
                         [this, key] { onAccessKey(key); });
        QObject::connect(shortcut.get(), &QShortcut::activatedAmbiguously, q,
                         [this, key] { onAccessKey(key); });
        accessKeys_.push_back(std::move(shortcut));
    }
}

// Keystrokes are queued as typed keys are: each goes to the widget that has the focus when it is
// delivered, not when it was sent. The press of Tab moves the focus on, so its release reaches
// the newly focused control; only a TarvexButton there hears of a release without its press, so
// for any other control it is dropped.
void TarvexButtonWidgetPrivate::SendKeys(std::string_view keys) {
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
    const QPointer<TarvexButtonWidget> sender(q);
    auto deliver = [sender, key, modifiers](QEvent::Type type) {
        QWidget* target = QApplication::focusWidget();
        if (type == QEvent::KeyPress && !target) target = sender.data();
        if (type == QEvent::KeyRelease && !qobject_cast<TarvexButtonWidget*>(target)) return;
        if (!target) return;
        QKeyEvent event(type, key, modifiers);
        QCoreApplication::sendEvent(target, &event);
    };
    QMetaObject::invokeMethod(
        qApp, [deliver] { deliver(QEvent::KeyPress); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        qApp, [deliver] { deliver(QEvent::KeyRelease); }, Qt::QueuedConnection);
}

}  // namespace tarvex::qt
