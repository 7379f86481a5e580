#include "app/FrmVornik.hpp"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>

#include "app/DialogService.hpp"
#include "app/HelpText.hpp"
#include "app/PatchCommand.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik {
namespace {

const QString kAppTitle = QStringLiteral("Vornik");

MessageBoxRequest Box(QString text, QString title, BoxButtons buttons, BoxIcon icon) {
    return {std::move(text), std::move(title), buttons, icon};
}

}  // namespace

FrmVornik::FrmVornik(registry::Registry& registry, DialogService& dialogs, QWidget* parent)
    : QWidget(parent), registry_(registry), dialogs_(dialogs) {
    const tarvex::FormLayout layout = ReadStoredLayout();
    controls_ = CreateStandardControls(*this, layout);
    CreateButtons(layout);
    ApplyTabOrder(*this, layout);
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
    auto* button = new tarvex::qt::TarvexButtonWidget(this, QString::fromStdString(stored.name),
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
    PatchChoices choices;
    choices.removeOverviewTab = controls_.Check1->isChecked();
    choices.removeAddressBookTab = controls_.Check2->isChecked();
    choices.imageLocation = controls_.Text1->text().toStdString();
    if (controls_.Check3->isChecked()) {
        choices.restoreTabs =
            dialogs_.ShowMessage(this, Box(QStringLiteral("Are You Sure You Wish To Restore The "
                                                          "Tabs?"),
                                           kAppTitle, BoxButtons::kYesNo, BoxIcon::kNone)) ==
            BoxAnswer::kYes;
    }

    const std::vector<PatchWrite> writes = PlanPatch(choices);
    if (writes.empty()) return;
    const registry::Result stored = StorePatch(registry_, writes);
    if (!stored) {
        dialogs_.ShowMessage(
            this, Box(QString::fromStdString(DescribeFailure(writes, stored.Message())), kAppTitle,
                      BoxButtons::kOk, BoxIcon::kCritical));
        return;
    }
    if (ReplacesBanners(choices)) {
        dialogs_.ShowMessage(this, Box(QStringLiteral("Patch Complete!"), kAppTitle,
                                       BoxButtons::kOk, BoxIcon::kInformation));
    }
}

void FrmVornik::CmdBrowse_Click() {
    const std::optional<QString> chosen =
        dialogs_.ChooseFileToOpen(this, QString::fromUtf16(kBrowseFilter), dialogFileName_);
    // A cancelled dialog leaves whatever the user typed.
    if (!chosen) return;
    dialogFileName_ = *chosen;
    controls_.Text1->setText(*chosen);
}

void FrmVornik::TarvexButton1_Click() {
    dialogs_.ShowMessage(
        this, Box(HelpText(), QStringLiteral("Help"), BoxButtons::kOk, BoxIcon::kInformation));
}

void FrmVornik::Check1_Click() {
    controls_.Check3->setChecked(false);
}

void FrmVornik::Check2_Click() {
    controls_.Check3->setChecked(false);
}

void FrmVornik::Check3_Click() {
    controls_.Check1->setChecked(false);
    controls_.Check2->setChecked(false);
}

}  // namespace vornik
