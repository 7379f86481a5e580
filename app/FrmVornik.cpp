#include "app/FrmVornik.hpp"

#include <QCheckBox>
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

// The shared commands ask through the window's dialog service, wait while the window keeps
// answering, and show the image location in Text1.
class WindowSupport final : public CommandWindow {
  public:
    WindowSupport(DialogService& dialogs, QWidget* window, QLineEdit* text1)
        : dialogs_(dialogs), window_(window), text1_(text1) {}
    BoxAnswer Ask(const BoxText& box) override {
        return dialogs_.ShowMessage(
            window_, Box(QString::fromStdString(box.text), QString::fromStdString(box.title),
                         box.buttons, box.icon));
    }
    std::optional<std::size_t> ChoosePlace(
        std::span<const registry::SettingsPlace> places) override {
        return dialogs_.ChooseSettingsPlace(window_, places);
    }
    void RunWhileBusy(const std::function<void()>& work) override {
        vornik::RunWhileBusy(*window_, work);
    }
    void ShowImageLocation(const std::string& location) override {
        text1_->setText(QString::fromStdString(location));
    }

  private:
    DialogService& dialogs_;
    QWidget* window_;
    QLineEdit* text1_;
};

}  // namespace

FrmVornik::FrmVornik(MessengerTarget& target, DialogService& dialogs, QWidget* parent)
    : QWidget(parent), target_(target), dialogs_(dialogs) {
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
    connect(cmdChange_, &TarvexButtonWidget::clicked, this, &FrmVornik::CmdChange_Click);
    connect(cmdBrowse_, &TarvexButtonWidget::clicked, this, &FrmVornik::CmdBrowse_Click);
    connect(tarvexButton1_, &TarvexButtonWidget::clicked, this, &FrmVornik::TarvexButton1_Click);
    // `clicked` comes only from the user (mouse, Space), never from setChecked, so the rules
    // below cannot trigger one another.
    connect(controls_.Check1, &QCheckBox::clicked, this, &FrmVornik::Check1_Click);
    connect(controls_.Check2, &QCheckBox::clicked, this, &FrmVornik::Check2_Click);
    connect(controls_.Check3, &QCheckBox::clicked, this, &FrmVornik::Check3_Click);
}

void FrmVornik::CmdChange_Click() {
    WindowChoices choices;
    choices.removeOverviewTab = controls_.Check1->isChecked();
    choices.removeAddressBookTab = controls_.Check2->isChecked();
    choices.restoreTabs = controls_.Check3->isChecked();
    choices.imageLocation = controls_.Text1->text().toStdString();
    WindowSupport window(dialogs_, this, controls_.Text1);
    RunChangeCommand(target_, choices, window);
}

void FrmVornik::CmdBrowse_Click() {
    const QString startFolder = QString::fromStdString(
        BlankImageFolder(QCoreApplication::applicationDirPath().toStdString()).string());
    const std::optional<QString> chosen = dialogs_.ChooseFileToOpen(
        this, QString::fromUtf8(kBrowseFilterText.data(), kBrowseFilterText.size()),
        dialogFileName_, startFolder);
    // A cancelled dialog leaves whatever the user typed.
    if (!chosen) return;
    dialogFileName_ = *chosen;
    WindowSupport window(dialogs_, this, controls_.Text1);
    if (const std::optional<std::string> shown =
            ChosenImageLocation(target_, chosen->toStdString(), window)) {
        controls_.Text1->setText(QString::fromStdString(*shown));
    }
}

void FrmVornik::TarvexButton1_Click() {
    dialogs_.ShowMessage(this,
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
