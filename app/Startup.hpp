// Starting the program: the toolkit, the window, and (for the start-up benchmark) leaving as soon
// as the window has been painted once.
#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace vornik {

// Quits the application right after `window` has finished its first paint, children included
// (they paint within the same pass as their window); `painted` runs at that moment.
class QuitAfterFirstPaint final : public QObject {
  public:
    explicit QuitAfterFirstPaint(QWidget& window, std::function<void()> painted = {});

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::function<void()> painted_;
    bool seen_ = false;
};

// For the start-up benchmark only; the program itself takes no options.
struct StartOptions {
    bool quitAfterFirstPaint = false;
    std::function<void()> painted;
};

// Shows the Vornik window and runs the event loop until it is closed. Returns the exit status.
int RunVornik(int& argc, char** argv, StartOptions options = {});

}  // namespace vornik
