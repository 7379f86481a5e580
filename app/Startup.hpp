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

// Names, title and the desktop's colours as the buttons' system colours: how the program looks,
// for the program and for pictures of its window alike.
void ApplyProgramLook();

// For the start-up benchmark only.
struct StartOptions {
    bool quitAfterFirstPaint = false;
    std::function<void()> painted;
};

// Reads the command line, shows the Vornik window and runs the event loop until it is closed.
// Returns the exit status (2 for a wrong command line, 1 when no window can be shown).
int RunVornik(int& argc, char** argv, StartOptions options = {});

}  // namespace vornik
