// The modal list from which the user picks the Wine prefix to change when the messenger's
// settings are in more than one.
#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>
#include <optional>
#include <span>

#include "app/registry/SettingsPlace.hpp"

class QTreeWidget;

namespace vornik {

// What the chooser's third column says of a place.
QString DescribePresence(registry::SettingsPresence presence);

class PlaceChooser final : public QDialog {
    Q_OBJECT

  public:
    PlaceChooser(std::span<const registry::SettingsPlace> places, QWidget* parent = nullptr);

    // The row picked, or nullopt when none is.
    std::optional<std::size_t> Picked() const;
    QTreeWidget* List() const { return list_; }

  private:
    QTreeWidget* list_ = nullptr;
};

}  // namespace vornik
