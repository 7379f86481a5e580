// The change signals of the widget's properties: the values as read back, compared before and
// after whatever may have changed them (a write, a stored set, a click, a rule of the control, an
// option group's sweep, a new palette).
#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>

namespace tarvex::qt {

class TarvexButtonWidget;

/// What a property reads back, in a form that compares cheaply: numbers for enumerations and
/// booleans, colours as read (a stored system colour reads as the colour it stands for now),
/// pictures by identity.
struct PropertySnapshot {
    std::array<std::int64_t, 16> numbers{};
    std::array<QColor, 7> colours{};
    QString caption;
    const void* icon = nullptr;
    const void* mouseIcon = nullptr;
    bool taken = false;
};

PropertySnapshot TakeSnapshot(const TarvexButtonWidget& widget);
/// Emits, once each, the signals of the properties that differ between the two.
void EmitChanges(TarvexButtonWidget& widget, const PropertySnapshot& before,
                 const PropertySnapshot& after);

/// Held while the widgets handle an event or a write: change signals wait until the outermost
/// scope ends, so that a handler connected to them never runs inside the control's own procedure.
class ChangeScope {
  public:
    ChangeScope();
    ~ChangeScope();
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;
};

/// Notes that `widget` may have changed: its signals go out when the outermost ChangeScope ends,
/// or at once from the event loop when none is open.
void NoteChanged(TarvexButtonWidget& widget);
/// A widget being destroyed has nothing more to tell.
void ForgetChanges(TarvexButtonWidget& widget);

}  // namespace tarvex::qt
