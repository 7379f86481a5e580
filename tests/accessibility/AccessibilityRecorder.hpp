// Turns Qt's accessibility on for a test and records every event it would send to assistive
// tools, instead of sending it.
#pragma once

#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAccessible>
#include <QObject>
#include <vector>

namespace vornik::test {

struct HeardEvent {
    const QObject* object = nullptr;
    QAccessible::Event type = QAccessible::InvalidEvent;
    QAccessible::State changed;  // StateChanged only
};

class AccessibilityRecorder {
  public:
    AccessibilityRecorder() {
        current_ = this;
        previous_ = QAccessible::installUpdateHandler(&AccessibilityRecorder::Record);
        // What a platform's bridge does once a screen reader attaches (and QAccessible::setActive
        // with it); the offscreen platform has no bridge to do it.
        if (QPlatformAccessibility* platform =
                QGuiApplicationPrivate::platformIntegration()->accessibility())
            platform->setActive(true);
    }
    ~AccessibilityRecorder() {
        QAccessible::installUpdateHandler(previous_);
        current_ = nullptr;
    }
    AccessibilityRecorder(const AccessibilityRecorder&) = delete;
    AccessibilityRecorder& operator=(const AccessibilityRecorder&) = delete;

    std::vector<HeardEvent> events;

    // How many events of `type` were heard for `object`; for StateChanged only those whose changed
    // states include every state set in `states`.
    int Count(const QObject* object, QAccessible::Event type,
              QAccessible::State states = QAccessible::State()) const {
        int n = 0;
        for (const HeardEvent& e : events) {
            if (e.object != object || e.type != type) continue;
            if (type == QAccessible::StateChanged && !Includes(e.changed, states)) continue;
            ++n;
        }
        return n;
    }

  private:
    static bool Includes(const QAccessible::State& have, const QAccessible::State& want) {
        return (!want.pressed || have.pressed) && (!want.checked || have.checked) &&
               (!want.disabled || have.disabled) && (!want.hotTracked || have.hotTracked) &&
               (!want.checkable || have.checkable);
    }
    static void Record(QAccessibleEvent* event) {
        if (current_ == nullptr) return;
        HeardEvent heard{event->object(), event->type(), {}};
        if (event->type() == QAccessible::StateChanged)
            heard.changed = static_cast<QAccessibleStateChangeEvent*>(event)->changedStates();
        current_->events.push_back(heard);
    }

    static inline AccessibilityRecorder* current_ = nullptr;
    QAccessible::UpdateHandler previous_ = nullptr;
};

inline QAccessible::State PressedState() {
    QAccessible::State s;
    s.pressed = true;
    return s;
}
inline QAccessible::State CheckedState() {
    QAccessible::State s;
    s.checked = true;
    return s;
}
inline QAccessible::State DisabledState() {
    QAccessible::State s;
    s.disabled = true;
    return s;
}
inline QAccessible::State HotTrackedState() {
    QAccessible::State s;
    s.hotTracked = true;
    return s;
}

}  // namespace vornik::test
