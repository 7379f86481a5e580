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

#include "button/Accessible.hpp"
#include "host/qt/TarvexButtonWidget.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

namespace {

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
                return QString::fromStdString(
                    AccessibleDescription(widget()->accessibleDescription().toStdString(),
                                          widget()->toolTip().toStdString()));
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
        const ButtonStates states = StatesOf(ButtonOf(*w));
        s.pressed = states.pressed;
        s.hotTracked = states.hotTracked;
        s.checkable = states.checkable;
        s.checked = states.checked;
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

    // The shared rule, with the name and description the program set through Qt.
    QString Name() const {
        const QWidget* w = widget();
        const std::string given = w->accessibleName().toStdString();
        const std::string caption = HasButton(*Button()) ? ButtonOf(*Button()).Caption() : "";
        const std::string toolTip = w->toolTip().toStdString();
        const std::string name = w->objectName().toStdString();
        return QString::fromStdString(AccessibleName({given, caption, toolTip, name}));
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
            detail::ReportingFailures(w.data(), [&] { PressForAssistiveTool(ButtonOf(*w)); });
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
    return QString::fromStdString(tarvex::SpokenCaption(caption.toStdString()));
}

}  // namespace tarvex::qt
