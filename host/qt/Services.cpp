// The host's services to the control: the hover timer and the window under the cursor, message
// boxes, the application's title and the clock.
#include <QApplication>
#include <QCursor>
#include <QTime>
#include <algorithm>

#include "host/qt/Accessibility.hpp"
#include "host/qt/WidgetPrivate.hpp"
#include "host/qt/WidgetSupport.hpp"

namespace tarvex::qt {

using namespace detail;

void TarvexButtonWidgetPrivate::SetHoverTimerInterval(std::int32_t milliseconds) {
    hoverTimer_.setInterval(std::max(0, milliseconds));
}
// Enabling a running timer leaves its count alone (QTimer::start would restart it), so moves that
// keep coming from outside during a held press cannot put the next tick off indefinitely.
void TarvexButtonWidgetPrivate::SetHoverTimerEnabled(bool enabled) {
    if (!enabled) {
        hoverTimer_.stop();
    } else if (!hoverTimer_.isActive()) {
        hoverTimer_.start();
        // The hover begins here, after the control's repaint: listening tools hear of it now.
        ReportAccessibleChanges(*q);
    }
}
bool TarvexButtonWidgetPrivate::HoverTimerEnabled() const {
    return hoverTimer_.isActive();
}

// The widget under the cursor, masks respected (a shaped button's cut-off corners belong to
// whatever lies below them).
std::uintptr_t TarvexButtonWidgetPrivate::WindowUnderCursor() const {
    return reinterpret_cast<std::uintptr_t>(QApplication::widgetAt(QCursor::pos()));
}

std::int32_t TarvexButtonWidgetPrivate::MsgBox(std::string_view text, std::int32_t style,
                                               std::string_view title) {
    const QString shownTitle = title.empty()
                                   ? ApplicationTitle()
                                   : QString::fromUtf8(title.data(), qsizetype(title.size()));
    return CurrentMessageBoxService().Show(
        q, QString::fromUtf8(text.data(), qsizetype(text.size())), style, shownTitle);
}

std::string TarvexButtonWidgetPrivate::AppTitle() const {
    return ApplicationTitle().toStdString();
}
double TarvexButtonWidgetPrivate::Timer() const {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

}  // namespace tarvex::qt
