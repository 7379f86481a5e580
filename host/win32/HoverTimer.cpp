// The hover timer (`TimerHover`): a window timer whose ticks poll the window under the cursor.
#include "host/win32/ButtonWindow.hpp"

namespace tarvex::win32 {

namespace {
constexpr UINT_PTR kHoverTimerId = 1;
}

void ButtonWindow::SetHoverTimerInterval(std::int32_t milliseconds) {
    hoverInterval_ = UINT(std::max<std::int32_t>(USER_TIMER_MINIMUM, milliseconds));
    if (hoverRunning_) SetTimer(hwnd_, kHoverTimerId, hoverInterval_, nullptr);
}

// Enabling a running timer leaves its count alone (SetTimer would restart it), so moves that keep
// coming from outside during a held press cannot put the next tick off indefinitely.
void ButtonWindow::SetHoverTimerEnabled(bool enabled) {
    if (!enabled) {
        if (hoverRunning_) KillTimer(hwnd_, kHoverTimerId);
        hoverRunning_ = false;
        return;
    }
    if (hoverRunning_) return;
    if (!SetTimer(hwnd_, kHoverTimerId, hoverInterval_, nullptr))
        throw HostError("the hover timer cannot be started (error " +
                        std::to_string(GetLastError()) + ")");
    hoverRunning_ = true;
    // The hover begins here, after the control's repaint: listening tools hear of it now.
    ReportAccessibleChanges();
}

bool ButtonWindow::HoverTimerEnabled() const {
    return hoverRunning_;
}

// The window under the cursor, shapes respected: a shaped button's cut-off corners belong to
// whatever lies below them.
std::uintptr_t ButtonWindow::WindowUnderCursor() const {
    POINT cursor{};
    if (!GetCursorPos(&cursor)) return 0;
    return reinterpret_cast<std::uintptr_t>(WindowFromPoint(cursor));
}

void ButtonWindow::OnHoverTick() {
    if (button_) button_->TimerHover_Timer();
}

}  // namespace tarvex::win32
