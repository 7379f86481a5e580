// What assistive tools (screen readers, switch access, test robots) learn of a TarvexButton: a
// push button, or a radio button in option-button mode, named by its caption as a person reads
// it, with its states, its press and focus actions, its access key, and the events that tell a
// listening tool when any of these change.
#pragma once

#include <QString>

namespace tarvex::qt {

class TarvexButtonWidget;

// Makes Qt's accessibility answer for every TarvexButtonWidget with the button's own interface.
// Idempotent; every widget calls it when it is created, so any program that shows one is covered.
void InstallButtonAccessibility();

// Tells listening tools what changed in the button since they last heard of it: its name, its
// description and its pressed, checked, checkable and hot-tracked states. Focus, enabling and
// visibility Qt tells itself. Costs nothing while no tool listens.
void ReportAccessibleChanges(TarvexButtonWidget& widget);

// The caption as it reads aloud: the access-key marker dropped, "&&" read as "&", every line
// break (CR LF, CR or LF) read as one space.
QString SpokenCaption(const QString& caption);

}  // namespace tarvex::qt
