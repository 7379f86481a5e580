// The button's accessible interface and the factory that hands it to Qt's accessibility.
#include "host/qt/Accessibility.hpp"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QEvent>
#include <QKeySequence>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <memory>

#include "host/qt/TarvexButtonWidget.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

namespace {

// The control's own handlers take Button -1 as a press that no mouse made.
constexpr std::int16_t kInternalButton = -1;

// A caption that has neither a letter nor a digit ("...", "?", an icon alone) says nothing to a
// listener.
bool SaysSomething(const QString& text) {
    for (const QChar ch : text)
        if (ch.isLetterOrNumber()) return true;
    return false;
}

// A press and release through the control's own handlers, as a click of the mouse makes them:
// the pressed look, the option-group selection (which raises Click on the press), then the click
// that raises Click on a command button. Stops at once when a handler destroyed the control.
void PressAndRelease(TarvexButton& b) {
    const std::weak_ptr<const void> life = b.LifeToken();
    b.MouseDownHandler(kInternalButton, 0, 0.0f, 0.0f);
    if (life.expired()) return;
    b.MouseUpHandler(kInternalButton, 0, 0.0f, 0.0f);
    if (life.expired()) return;
    b.ClickHandler();
}

// What a listening tool last heard of one button.
struct Heard {
    QString name;
    QString description;
    bool pressed = false;
    bool checked = false;
    bool checkable = false;
    bool hotTracked = false;
};

class TarvexButtonAccessible final : public QAccessibleWidget {
  public:
    explicit TarvexButtonAccessible(TarvexButtonWidget* widget)
        : QAccessibleWidget(widget, QAccessible::PushButton), heard_(Hear()) {}

    QAccessible::Role role() const override {
        return IsOptionButton() ? QAccessible::RadioButton : QAccessible::PushButton;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return Name();
            case QAccessible::Description:
                return widget()->accessibleDescription().isEmpty()
                           ? widget()->toolTip()
                           : widget()->accessibleDescription();
            case QAccessible::Accelerator: {
                const QStringList keys = AccessKeys();
                return keys.isEmpty() ? QString() : keys.front();
            }
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        const TarvexButtonWidget* w = Button();
        if (!HasButton(*w)) return s;
        const TarvexButton& b = ButtonOf(*w);
        s.pressed = b.mButtonState == kStatePressed;
        s.hotTracked = b.mHovering == kTrue;
        if (b.mOptionButton == kTrue) {
            s.checkable = true;
            s.checked = b.mValue == kTrue;
        }
        return s;
    }

    // A disabled button offers nothing to do, as it takes no clicks.
    QStringList actionNames() const override {
        if (!widget()->isEnabled()) return {};
        return {pressAction(), setFocusAction()};
    }

    void doAction(const QString& action) override {
        if (!widget()->isEnabled()) return;
        if (action == pressAction())
            PressSoon();
        else
            QAccessibleWidget::doAction(action);
    }

    QStringList keyBindingsForAction(const QString& action) const override {
        return action == pressAction() ? AccessKeys() : QStringList();
    }

    void ReportChanges() {
        const Heard now = Hear();
        if (now.name != heard_.name) Send(QAccessible::NameChanged);
        if (now.description != heard_.description) Send(QAccessible::DescriptionChanged);
        QAccessible::State changed;
        changed.pressed = now.pressed != heard_.pressed;
        changed.checked = now.checked != heard_.checked;
        changed.checkable = now.checkable != heard_.checkable;
        changed.hotTracked = now.hotTracked != heard_.hotTracked;
        heard_ = now;
        if (changed.pressed || changed.checked || changed.checkable || changed.hotTracked) {
            QAccessibleStateChangeEvent event(widget(), changed);
            QAccessible::updateAccessibility(&event);
        }
    }

  private:
    TarvexButtonWidget* Button() const { return static_cast<TarvexButtonWidget*>(widget()); }

    bool IsOptionButton() const {
        const TarvexButtonWidget* w = Button();
        return HasButton(*w) && ButtonOf(*w).mOptionButton == kTrue;
    }

    // The name a person would give the button: the one the program set, else the caption as it
    // reads aloud, else (for "...", an icon alone, nothing) the tool tip, else the control name.
    QString Name() const {
        const QWidget* w = widget();
        if (!w->accessibleName().isEmpty()) return w->accessibleName();
        if (HasButton(*Button())) {
            const QString spoken =
                SpokenCaption(QString::fromStdString(ButtonOf(*Button()).Caption()));
            if (SaysSomething(spoken)) return spoken;
        }
        if (!w->toolTip().isEmpty()) return w->toolTip();
        return w->objectName();
    }

    // The access keys the button answers to now, as "Alt+C".
    QStringList AccessKeys() const {
        QStringList keys;
        for (const QShortcut* shortcut :
             widget()->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
            if (shortcut->isEnabled() && !shortcut->key().isEmpty())
                keys.push_back(shortcut->key().toString(QKeySequence::PortableText));
        }
        return keys;
    }

    Heard Hear() const {
        const QAccessible::State s = state();
        return {Name(),
                text(QAccessible::Description),
                bool(s.pressed),
                bool(s.checked),
                bool(s.checkable),
                bool(s.hotTracked)};
    }

    void Send(QAccessible::Event type) const {
        QAccessibleEvent event(widget(), type);
        QAccessible::updateAccessibility(&event);
    }

    // The press runs once the tool's request has been answered: the window's Click handler may
    // open a modal box, and the tool must not hang waiting for its answer meanwhile.
    void PressSoon() const {
        QTimer::singleShot(0, Button(), [w = QPointer<TarvexButtonWidget>(Button())] {
            if (!w || !HasButton(*w) || !w->isEnabled()) return;
            detail::ReportingFailures(w.data(), [&] { PressAndRelease(ButtonOf(*w)); });
        });
    }

    Heard heard_;
};

// A new tool tip can be a new name (of a caption that says nothing) and is a new description.
class ToolTipWatch final : public QObject {
  public:
    explicit ToolTipWatch(TarvexButtonWidget* widget) : QObject(widget), widget_(widget) {
        widget->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::ToolTipChange) ReportAccessibleChanges(*widget_);
        return false;
    }

  private:
    TarvexButtonWidget* widget_;
};

QAccessibleInterface* ButtonInterfaceFactory(const QString&, QObject* object) {
    auto* widget = qobject_cast<TarvexButtonWidget*>(object);
    if (widget == nullptr) return nullptr;
    new ToolTipWatch(widget);  // owned by the widget
    return new TarvexButtonAccessible(widget);
}

}  // namespace

void InstallButtonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(ButtonInterfaceFactory);
        return true;
    }();
    (void)installed;
}

void ReportAccessibleChanges(TarvexButtonWidget& widget) {
    if (!QAccessible::isActive()) return;
    if (auto* face =
            dynamic_cast<TarvexButtonAccessible*>(QAccessible::queryAccessibleInterface(&widget)))
        face->ReportChanges();
}

QString SpokenCaption(const QString& caption) {
    QString spoken;
    spoken.reserve(caption.size());
    bool markerDropped = false;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        const QChar ch = caption[i];
        const bool hasNext = i + 1 < caption.size();
        if (ch == u'&' && hasNext && caption[i + 1] == u'&') {
            spoken += u'&';
            ++i;
        } else if (ch == u'&' && !markerDropped) {
            markerDropped = true;
        } else if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && hasNext && caption[i + 1] == u'\n') ++i;
            spoken += u' ';
        } else {
            spoken += ch;
        }
    }
    return spoken;
}

}  // namespace tarvex::qt
