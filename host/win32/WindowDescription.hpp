// What a window of the form that is no button (the form itself, a picture) tells screen readers
// beyond what the system answers for it. The system's own object answers everything else: its
// children, its value, its place, the label of a text box.
#pragma once

#include <string>

#include "gdi/win32/windows.hpp"

namespace tarvex::win32 {

struct AssistiveDescription {
    std::string name;         // empty: the system's (the window's text)
    std::string description;  // empty: the system's
    LONG role = 0;            // ROLE_SYSTEM_...; 0: the system's
};

// From now until the window is destroyed, Active Accessibility clients asking for the window's
// client object get `description` over the system's answer. Calling it again replaces it. Throws
// HostError when the window cannot be watched.
void DescribeForAssistiveTools(HWND window, AssistiveDescription description);

}  // namespace tarvex::win32
