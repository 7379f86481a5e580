// The window's modal boxes and its open-file dialog, behind one interface so that a test can
// answer them directly instead of driving real dialogs.
#pragma once

#include <QString>
#include <QStringList>
#include <cstddef>
#include <optional>
#include <span>

#include "app/registry/SettingsPlace.hpp"

#include "app/WindowCommands.hpp"

class QWidget;

namespace vornik {

struct MessageBoxRequest {
    QString text;
    QString title;
    BoxButtons buttons = BoxButtons::kOk;
    BoxIcon icon = BoxIcon::kNone;
};

class DialogService {
  public:
    virtual ~DialogService() = default;

    // Shows a modal message box over `parent` and waits for the answer. A Yes/No box can only be
    // closed with Yes or No; an OK box answers kOk however it is closed.
    virtual BoxAnswer ShowMessage(QWidget* parent, const MessageBoxRequest& request) = 0;

    // Shows a modal open-file dialog. `filter` is the classic "Description|pattern|..." string;
    // `currentName` is the file name the dialog holds from its last use (empty at first), and
    // the dialog starts in `startFolder` when there is none. A name that does not exist yet is
    // accepted. Returns the chosen file's full path, or nullopt when the user cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& filter,
                                                    const QString& currentName,
                                                    const QString& startFolder) = 0;

    // Asks which place of the messenger's settings to change, one of `places` or a folder the
    // user picks; nullopt when the user cancelled.
    virtual std::optional<registry::PlacePick> ChooseSettingsPlace(
        QWidget* parent, std::span<const registry::SettingsPlace> places) = 0;
};

// The real boxes and dialog of the desktop.
class QtDialogService final : public DialogService {
  public:
    BoxAnswer ShowMessage(QWidget* parent, const MessageBoxRequest& request) override;
    std::optional<QString> ChooseFileToOpen(QWidget* parent, const QString& filter,
                                            const QString& currentName,
                                            const QString& startFolder) override;
    std::optional<registry::PlacePick> ChooseSettingsPlace(
        QWidget* parent, std::span<const registry::SettingsPlace> places) override;
};

// "Gif Files|*.gif|All Files|*.*|" as the dialog's name filters ("Gif Files (*.gif)", ...).
// "*.*" means every file, also those without a dot in their name.
QStringList NameFiltersFromBarFilter(const QString& barFilter);

}  // namespace vornik
