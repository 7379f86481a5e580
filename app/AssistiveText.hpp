// What the Vornik window tells screen readers beyond what its controls say of themselves: the
// label that names the text box, the picture's text, and a tree that reads in tab order.
#pragma once

#include "app/StandardControls.hpp"

class QWidget;

namespace vornik {

// Makes assistive tools see the Vornik window as a window (a frame), not as a bare panel. Call
// before the window is created: Qt keeps the first interface it hands out for an object.
void InstallWindowAccessibility();

// Call once every control of the stored layout is on `form`.
void DescribeForAssistiveTools(QWidget& form, const tarvex::FormLayout& layout,
                               const StandardControls& controls);

}  // namespace vornik
