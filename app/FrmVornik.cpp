#include "app/FrmVornik.hpp"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

#include "app/AssistiveText.hpp"
#include "app/BusyWait.hpp"
#include "app/DesktopSession.hpp"
#include "app/DialogService.hpp"
#include "app/HelpText.hpp"
#include "app/MessengerTarget.hpp"
#include "app/WindowCommands.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik {
namespace {

MessageBoxRequest Box(QString text, QString title, BoxButtons buttons, BoxIcon icon) {
    return {std::move(text), std::move(title), buttons, icon};
}

// Every box and dialog of a command opens with the window's controls held.
class HeldDialogs final : public DialogService {
  public:
    HeldDialogs(DialogService& dialogs, CommandGate& gate) : dialogs_(dialogs), gate_(gate) {}
    BoxAnswer ShowMessage(QWidget* parent, const MessageBoxRequest& request) override {
        gate_.HoldControls();
        return dialogs_.ShowMessage(parent, request);
    }
    std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& filter,
                                            const QString& currentName,
                                            const QString& startFolder) override {
        gate_.HoldControls();
        return dialogs_.ChooseFileToOpen(parent, filter, currentName, startFolder);
    }
    std::optional<registry::PlacePick> ChooseSettingsPlace(
        QWidget* parent, std::span<const registry::SettingsPlace> places) override {
        gate_.HoldControls();
        return dialogs_.ChooseSettingsPlace(parent, places);
    }

  private:
    DialogService& dialogs_;
    CommandGate& gate_;
};

// The shared commands ask through the window's dialog service, wait while the window keeps
// answering, and show the image location in Text1.
class WindowSupport final : public CommandWindow {
  public:
    WindowSupport(DialogService& dialogs, CommandGate& gate, QWidget* window, QLineEdit* text1)
        : dialogs_(dialogs), gate_(gate), window_(window), text1_(text1) {}
    BoxAnswer Ask(const BoxText& box) override {
        return dialogs_.ShowMessage(
            window_, Box(QString::fromStdString(box.text), QString::fromStdString(box.title),
                         box.buttons, box.icon));
    }
    std::optional<registry::PlacePick> ChoosePlace(
        std::span<const registry::SettingsPlace> places) override {
        return dialogs_.ChooseSettingsPlace(window_, places);
    }
    void RunWhileBusy(const std::function<void()>& work) override {
        gate_.HoldControls();
        vornik::RunWhileBusy(*window_, work);
    }
    void ShowImageLocation(const std::string& location) override {
        gate_.SetText(*text1_, QString::fromStdString(location));
    }

  private:
    DialogService& dialogs_;
    CommandGate& gate_;
    QWidget* window_;
    QLineEdit* text1_;
};

}  // namespace

FrmVornik::FrmVornik(MessengerTarget& target, DialogService& dialogs, QWidget* parent)
    : QWidget(parent),
      target_(target),
      gate_(*this),
      dialogs_(std::make_unique<HeldDialogs>(dialogs, gate_)) {
    InstallWindowAccessibility();
    const tarvex::FormLayout layout = ReadStoredLayout();
    controls_ = CreateStandardControls(*this, layout);
    CreateButtons(layout);
    ApplyTabOrder(*this, layout);
    DescribeForAssistiveTools(*this, layout, controls_);
    ConnectHandlers();
    // The first control in tab order that takes the focus.
    controls_.Text1->setFocus();
}

FrmVornik::~FrmVornik() = default;

void FrmVornik::CreateButtons(const tarvex::FormLayout& layout) {
    for (const tarvex::LayoutControl& stored : layout.controls) {
        if (stored.kind == "TarvexButton") CreateButton(stored);
    }
    cmdBrowse_ = RequireButton("CmdBrowse");
    tarvexButton1_ = RequireButton("TarvexButton1");
    cmdChange_ = RequireButton("CmdChange");
}

void FrmVornik::CreateButton(const tarvex::LayoutControl& stored) {
    auto* button = tarvex::qt::CreateButtonWidget(this, QString::fromStdString(stored.name),
                                                  stored.properties, stored.index);
    if (stored.position) button->setGeometry(TwipsToPixels(*stored.position));
    if (!stored.toolTipText.empty()) {
        button->setToolTip(QString::fromStdString(stored.toolTipText));
    }
}

tarvex::qt::TarvexButtonWidget* FrmVornik::RequireButton(const char* name) {
    auto* button =
        findChild<tarvex::qt::TarvexButtonWidget*>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    if (button == nullptr) {
        throw tarvex::LayoutError("the stored layout of the window has no button \"" +
                                  std::string(name) + "\"");
    }
    return button;
}

void FrmVornik::ConnectHandlers() {
    using tarvex::qt::TarvexButtonWidget;
    const auto on = [this](auto* control, auto signal, void (FrmVornik::*command)()) {
        connect(control, signal, this, [this, command] { RunCommand(command); });
    };
    on(cmdChange_, &TarvexButtonWidget::clicked, &FrmVornik::CmdChange_Click);
    on(cmdBrowse_, &TarvexButtonWidget::clicked, &FrmVornik::CmdBrowse_Click);
    on(tarvexButton1_, &TarvexButtonWidget::clicked, &FrmVornik::TarvexButton1_Click);
    // `clicked` comes only from the user (mouse, Space, an assistive tool's press), never from
    // setChecked, so the rules below cannot trigger one another.
    on(controls_.Check1, &QCheckBox::clicked, &FrmVornik::Check1_Click);
    on(controls_.Check2, &QCheckBox::clicked, &FrmVornik::Check2_Click);
    on(controls_.Check3, &QCheckBox::clicked, &FrmVornik::Check3_Click);
}

void FrmVornik::RunCommand(void (FrmVornik::*command)()) {
    if (!gate_.Run([this, command] { (this->*command)(); })) return;
    if (closeWhenIdle_) {
        closeWhenIdle_ = false;
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void FrmVornik::closeEvent(QCloseEvent* event) {
    if (!gate_.Running()) {
        QWidget::closeEvent(event);
        return;
    }
    event->ignore();
    closeWhenIdle_ = true;
}

void FrmVornik::CmdChange_Click() {
    WindowChoices choices;
    choices.removeOverviewTab = controls_.Check1->isChecked();
    choices.removeAddressBookTab = controls_.Check2->isChecked();
    choices.restoreTabs = controls_.Check3->isChecked();
    choices.imageLocation = controls_.Text1->text().toStdString();
    WindowSupport window(*dialogs_, gate_, this, controls_.Text1);
    RunChangeCommand(target_, choices, window);
}

void FrmVornik::CmdBrowse_Click() {
    const QString startFolder = QString::fromStdString(
        BlankImageFolder(QCoreApplication::applicationDirPath().toStdString()).string());
    const std::optional<QString> chosen = dialogs_->ChooseFileToOpen(
        this, QString::fromUtf8(kBrowseFilterText.data(), kBrowseFilterText.size()),
        dialogFileName_, startFolder);
    // A cancelled dialog leaves whatever the user typed.
    if (!chosen) return;
    dialogFileName_ = *chosen;
    WindowSupport window(*dialogs_, gate_, this, controls_.Text1);
    if (const std::optional<std::string> shown =
            ChosenImageLocation(target_, chosen->toStdString(), window)) {
        gate_.SetText(*controls_.Text1, QString::fromStdString(*shown));
    }
}

void FrmVornik::TarvexButton1_Click() {
    dialogs_->ShowMessage(this,
                          Box(HelpText(), QString::fromUtf8(kHelpTitle.data(), kHelpTitle.size()),
                              BoxButtons::kOk, BoxIcon::kInformation));
}

void FrmVornik::Check1_Click() {
    ApplyTabOptions(TabOption::kRemoveOverview);
}

void FrmVornik::Check2_Click() {
    ApplyTabOptions(TabOption::kRemoveAddressBook);
}

void FrmVornik::Check3_Click() {
    ApplyTabOptions(TabOption::kRestore);
}

void FrmVornik::ApplyTabOptions(TabOption changed) {
    const TabOptions now =
        AfterUserChanged(changed, {controls_.Check1->isChecked(), controls_.Check2->isChecked(),
                                   controls_.Check3->isChecked()});
    controls_.Check1->setChecked(now.removeOverviewTab);
    controls_.Check2->setChecked(now.removeAddressBookTab);
    controls_.Check3->setChecked(now.restoreTabs);
}

}  // namespace vornik
