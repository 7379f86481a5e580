#include "app/PlaceChooser.hpp"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace vornik {
namespace {

QString QuestionFor(std::span<const registry::SettingsPlace> places) {
    const bool anyHolds = std::any_of(places.begin(), places.end(), [](const auto& place) {
        return place.messenger == registry::SettingsPresence::kPresent;
    });
    if (anyHolds) {
        return QStringLiteral(
            "The messenger's settings are in more than one Wine prefix. "
            "Choose the one to change:");
    }
    return QStringLiteral(
        "None of the Wine prefixes Vornik found holds the messenger's settings "
        "(has the messenger been started there once?). Choose the prefix the "
        "messenger runs in, or its folder:");
}

}  // namespace

QString DescribePresence(registry::SettingsPresence presence) {
    switch (presence) {
        case registry::SettingsPresence::kPresent:
            return QStringLiteral("found");
        case registry::SettingsPresence::kUnreadable:
            return QStringLiteral("cannot be read");
        case registry::SettingsPresence::kAbsent:
            break;
    }
    return QStringLiteral("not found");
}

PlaceChooser::PlaceChooser(std::span<const registry::SettingsPlace> places, QWidget* parent,
                           FolderAsk askFolder)
    : QDialog(parent), askFolder_(std::move(askFolder)) {
    setWindowTitle(QStringLiteral("Vornik"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    question_ = new QLabel(QuestionFor(places), this);
    question_->setWordWrap(true);
    layout->addWidget(question_);

    list_ = new QTreeWidget(this);
    list_->setRootIsDecorated(false);
    list_->setHeaderLabels({QStringLiteral("Wine prefix"), QStringLiteral("Made by"),
                            QStringLiteral("Messenger's settings")});
    for (const registry::SettingsPlace& place : places) {
        auto* row = new QTreeWidgetItem(list_);
        row->setText(0, QString::fromStdString(place.folder.string()));
        row->setText(1, QString::fromStdString(place.origin));
        row->setText(2, DescribePresence(place.messenger));
    }
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
    question_->setBuddy(list_);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* change = buttons->button(QDialogButtonBox::Ok);
    change->setText(QStringLiteral("Change This Prefix"));
    change->setEnabled(list_->topLevelItemCount() > 0);
    QPushButton* folder =
        buttons->addButton(QStringLiteral("Choose &Folder..."), QDialogButtonBox::ActionRole);
    connect(folder, &QPushButton::clicked, this, &PlaceChooser::ChooseFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 260);
}

std::optional<registry::PlacePick> PlaceChooser::Ask(
    std::span<const registry::SettingsPlace> places, QWidget* parent) {
    PlaceChooser chooser(places, parent);
    if (chooser.exec() != QDialog::Accepted) return std::nullopt;
    return chooser.Picked();
}

std::optional<QString> PlaceChooser::AskFolderOfDesktop(QWidget* parent) {
    const QString folder = QFileDialog::getExistingDirectory(
        parent, QStringLiteral("The Wine prefix of the messenger"), QDir::homePath());
    if (folder.isEmpty()) return std::nullopt;
    return folder;
}

void PlaceChooser::ChooseFolder() {
    if (!askFolder_) return;
    if (std::optional<QString> folder = askFolder_(this)) {
        folder_ = std::move(folder);
        accept();
    }
}

std::optional<registry::PlacePick> PlaceChooser::Picked() const {
    if (folder_) return registry::PlacePick(std::filesystem::path(folder_->toStdString()));
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0) return std::nullopt;
    return registry::PlacePick(static_cast<std::size_t>(row));
}

}  // namespace vornik
