// One command of the window at a time, whatever starts it: a click, a key, an access key, or an
// assistive tool's action on a button, a check box or the text box. Such a tool acts on the
// controls directly, past the busy wait's input filter and past the modality of an open box, so
// every command goes through the window's one gate.
//
// A command that waits (for a hive another program keeps locked, for the user's answer in a box
// or a dialog) holds the window's controls until it ends: the check boxes take no change (they keep
// their look, as a window behind a box does), the text box takes no edit, not even through its text
// interface, and assistive tools hear that the window is busy.
#pragma once

#include <QMetaObject>
#include <QPalette>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QLineEdit;
class QWidget;

namespace vornik {

class CommandGate final {
  public:
    // `window` must outlive the gate.
    explicit CommandGate(QWidget& window);
    ~CommandGate();
    CommandGate(const CommandGate&) = delete;
    CommandGate& operator=(const CommandGate&) = delete;

    // Runs `command` now, or not at all while another command of the window runs. False when it
    // did not run.
    bool Run(const std::function<void()>& command);
    bool Running() const { return running_; }

    // Call from a command before it waits; from then until the command ends the window's check
    // boxes and text box keep what they hold.
    void HoldControls();

    // The running command's own change of a text box, held or not.
    void SetText(QLineEdit& box, const QString& text);

  private:
    class TextFreeze;
    struct HeldBox {
        QPointer<QCheckBox> box;
        QPalette palette;
        bool checked = false;
        QMetaObject::Connection keep;
    };
    struct HeldText {
        QPointer<QLineEdit> box;
        bool readOnly = false;
        std::unique_ptr<TextFreeze> freeze;
    };
    void Release();
    void ReportBusy() const;

    QWidget& window_;
    bool running_ = false;
    bool held_ = false;
    std::vector<HeldBox> boxes_;
    std::vector<HeldText> texts_;
    QPointer<QWidget> focus_;
};

}  // namespace vornik
