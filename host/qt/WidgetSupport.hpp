// What the widget's sources share: the classic codes of Qt's keys, buttons and modifiers, the
// form font and colours as the control knows them, and the guards around the control's handlers.
#pragma once

#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>
#include <exception>
#include <memory>

#include "host/qt/TarvexButtonWidget.hpp"

namespace tarvex::qt::detail {

constexpr std::int16_t kCustomPointer = 99;
constexpr std::int32_t kDefaultHoverInterval = 100;

// The classic shift state (1 Shift, 2 Ctrl, 4 Alt) of Qt's modifiers.
std::int16_t ShiftState(Qt::KeyboardModifiers m);
// The classic code of one mouse button (1 left, 2 right, 4 middle; 0 for any other).
std::int16_t ButtonCode(Qt::MouseButton b);
// The classic codes of the buttons held, or-ed together.
std::int16_t ButtonsHeld(Qt::MouseButtons held);
// The classic virtual-key code of a Qt key; 0 for a key that has none.
std::int16_t VirtualKeyCode(const QKeyEvent& e);

FontRef FontObjectFrom(const QFont& f);
QFont ToQFont(const FontObject& f);

// The system colours from the application palette, unless the program asked for the classic
// ones: the first widget takes them, and every palette change brings them up to date.
void FollowApplicationPaletteByDefault();
void SyncSystemColours();
// Changes each time the system colours are set from the palette or to the classic ones.
std::uint64_t SystemColoursGeneration();
gdi::COLORREF ToColorRef(const QColor& c);

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

}  // namespace tarvex::qt::detail
