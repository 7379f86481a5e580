// The Vornik window: the user's choices, the image location and the three commands.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "app/CommandGate.hpp"
#include "app/StandardControls.hpp"
#include "app/WindowCommands.hpp"

namespace tarvex::qt {
class TarvexButtonWidget;
}

namespace vornik {

class DialogService;
class MessengerTarget;

class FrmVornik final : public QWidget {
    Q_OBJECT

  public:
    // The window writes to `target` and asks the user through `dialogs`; both must outlive it.
    // Throws tarvex::LayoutError when the window's stored layout cannot be read.
    FrmVornik(MessengerTarget& target, DialogService& dialogs, QWidget* parent = nullptr);
    ~FrmVornik() override;

    QLabel* Label1() const { return controls_.Label1; }
    QLabel* Label2() const { return controls_.Label2; }
    QLabel* Label3() const { return controls_.Label3; }
    QLabel* Image1() const { return controls_.Image1; }
    QLineEdit* Text1() const { return controls_.Text1; }
    QCheckBox* Check1() const { return controls_.Check1; }
    QCheckBox* Check2() const { return controls_.Check2; }
    QCheckBox* Check3() const { return controls_.Check3; }
    tarvex::qt::TarvexButtonWidget* CmdChange() const { return cmdChange_; }
    tarvex::qt::TarvexButtonWidget* CmdBrowse() const { return cmdBrowse_; }
    tarvex::qt::TarvexButtonWidget* TarvexButton1() const { return tarvexButton1_; }

    // A command is under way (it may be waiting for a hive or for the user's answer in a box).
    bool CommandRunning() const { return gate_.Running(); }

  protected:
    // While a command runs the window stays open and closes once the command has ended: a
    // write is never cut off halfway.
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateButtons(const tarvex::FormLayout& layout);
    void CreateButton(const tarvex::LayoutControl& stored);
    tarvex::qt::TarvexButtonWidget* RequireButton(const char* name);
    void ConnectHandlers();
    void RunCommand(void (FrmVornik::*command)());

    void CmdChange_Click();
    void CmdBrowse_Click();
    void TarvexButton1_Click();
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void ApplyTabOptions(TabOption changed);

    MessengerTarget& target_;
    CommandGate gate_;
    // The window's boxes and dialogs; each holds the controls before it opens.
    std::unique_ptr<DialogService> dialogs_;
    StandardControls controls_;
    tarvex::qt::TarvexButtonWidget* cmdChange_ = nullptr;
    tarvex::qt::TarvexButtonWidget* cmdBrowse_ = nullptr;
    tarvex::qt::TarvexButtonWidget* tarvexButton1_ = nullptr;
    // The open-file dialog's file name, kept from one use to the next.
    QString dialogFileName_;
    bool closeWhenIdle_ = false;
};

}  // namespace vornik
