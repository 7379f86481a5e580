// The modal list from which the user picks the Wine prefix to change when the search cannot
// tell: the messenger's settings are in more than one, or in none of those found.
#pragma once

#include <QDialog>
#include <QString>
#include <cstddef>
#include <functional>
#include <optional>
#include <span>

#include "app/registry/SettingsPlace.hpp"

class QLabel;
class QTreeWidget;

namespace vornik {

// What the chooser's third column says of a place.
QString DescribePresence(registry::SettingsPresence presence);

class PlaceChooser final : public QDialog {
    Q_OBJECT

  public:
    // Asks for a folder (the desktop's folder dialog); nullopt when cancelled.
    using FolderAsk = std::function<std::optional<QString>(QWidget* parent)>;

    PlaceChooser(std::span<const registry::SettingsPlace> places, QWidget* parent = nullptr,
                 FolderAsk askFolder = AskFolderOfDesktop);

    // Shows the chooser and waits: the row or the folder picked, nullopt when cancelled.
    static std::optional<registry::PlacePick> Ask(std::span<const registry::SettingsPlace> places,
                                                  QWidget* parent);
    static std::optional<QString> AskFolderOfDesktop(QWidget* parent);

    // The row picked or the folder chosen, or nullopt when there is neither.
    std::optional<registry::PlacePick> Picked() const;
    QTreeWidget* List() const { return list_; }
    QLabel* Question() const { return question_; }
    // Asks for a folder; a folder chosen closes the chooser with it.
    void ChooseFolder();

  private:
    QLabel* question_ = nullptr;
    QTreeWidget* list_ = nullptr;
    FolderAsk askFolder_;
    std::optional<QString> folder_;
};

}  // namespace vornik
