// Starting the program: the toolkit, the window, and (for the start-up benchmark) leaving as soon
// as the window has been painted once.
#pragma once

#include <QObject>

class QWidget;

namespace vornik {

// Quits the application right after `window` has finished its first paint, children included
// (they paint within the same pass as their window).
class QuitAfterFirstPaint final : public QObject {
  public:
    explicit QuitAfterFirstPaint(QWidget& window);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool painted_ = false;
};

struct StartOptions {
    bool quitAfterFirstPaint = false;
};

// Shows the Vornik window and runs the event loop until it is closed. Returns the exit status.
int RunVornik(int& argc, char** argv, StartOptions options = {});

}  // namespace vornik
