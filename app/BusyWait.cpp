#include "app/BusyWait.hpp"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <exception>
#include <thread>

namespace vornik {
namespace {

// How often the window's thread looks whether the work is done: short against what a person
// notices, long against the cost of looking.
constexpr std::chrono::milliseconds kLookForTheEnd{5};

bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

// Swallows the mouse and the keyboard of the window while the work runs.
class InputHold final : public QObject {
  public:
    explicit InputHold(QWidget& window) : window_(window) { qApp->installEventFilter(this); }
    ~InputHold() override { qApp->removeEventFilter(this); }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == nullptr || widget->window() != &window_) return false;
        return IsInput(event->type());
    }

  private:
    QWidget& window_;
};

}  // namespace

void RunWhileBusy(QWidget& window, const std::function<void()>& work) {
    const InputHold hold(window);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    std::exception_ptr failure;
    // The worker touches nothing of Qt: the window's thread looks for the end of the work itself,
    // so that every hand-over between the two threads is one the language defines.
    std::atomic<bool> done = false;
    std::thread worker([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        done.store(true, std::memory_order_release);
    });
    QEventLoop loop;
    QTimer watch;
    watch.setInterval(kLookForTheEnd);
    QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
        if (done.load(std::memory_order_acquire)) loop.quit();
    });
    watch.start();
    loop.exec();
    // The loop also ends when the application quits: the work is still waited for.
    worker.join();
    QApplication::restoreOverrideCursor();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vornik
