#include "app/PlaceChooser.hpp"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vornik {

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

PlaceChooser::PlaceChooser(std::span<const registry::SettingsPlace> places, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Vornik"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(QStringLiteral("The messenger's settings are in more than one Wine "
                                            "prefix. Choose the one to change:"),
                             this);
    label->setWordWrap(true);
    layout->addWidget(label);

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
    label->setBuddy(list_);
    layout->addWidget(list_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Change This Prefix"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    layout->addWidget(buttons);
    resize(640, 260);
}

std::optional<std::size_t> PlaceChooser::Picked() const {
    const int row = list_->indexOfTopLevelItem(list_->currentItem());
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row);
}

}  // namespace vornik
