#include "app/DialogService.hpp"

#include <QFileDialog>
#include <QMessageBox>

#include "app/PlaceChooser.hpp"

namespace vornik {
namespace {

QMessageBox::Icon ToQtIcon(BoxIcon icon) {
    switch (icon) {
        case BoxIcon::kInformation:
            return QMessageBox::Information;
        case BoxIcon::kCritical:
            return QMessageBox::Critical;
        case BoxIcon::kNone:
            break;
    }
    return QMessageBox::NoIcon;
}

QString QtPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        out << (pattern.trimmed() == u"*.*" ? QStringLiteral("*") : pattern.trimmed());
    }
    return out.join(u' ');
}

}  // namespace

QStringList NameFiltersFromBarFilter(const QString& barFilter) {
    const QStringList parts = barFilter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) continue;
        filters << QStringLiteral("%1 (%2)").arg(parts[i], QtPatterns(parts[i + 1]));
    }
    return filters;
}

BoxAnswer QtDialogService::ShowMessage(QWidget* parent, const MessageBoxRequest& request) {
    // Line breaks are CR LF in our texts; a lone CR would show as a stray glyph here.
    QString text = request.text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(ToQtIcon(request.icon), request.title, text, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    if (request.buttons == BoxButtons::kYesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        // Escape and the close box count as No: the answer is always one of the two.
        return box.exec() == QMessageBox::Yes ? BoxAnswer::kYes : BoxAnswer::kNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return BoxAnswer::kOk;
}

std::optional<QString> QtDialogService::ChooseFileToOpen(QWidget* parent, const QString& filter,
                                                         const QString& currentName,
                                                         const QString& startFolder) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Like the desktop's own open dialog, a name typed in need not exist yet.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(NameFiltersFromBarFilter(filter));
    if (!currentName.isEmpty()) {
        dialog.selectFile(currentName);
    } else if (!startFolder.isEmpty()) {
        dialog.setDirectory(startFolder);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    // Already the full path; it is handed on unchanged.
    return dialog.selectedFiles().constFirst();
}

std::optional<registry::PlacePick> QtDialogService::ChooseSettingsPlace(
    QWidget* parent, std::span<const registry::SettingsPlace> places) {
    return PlaceChooser::Ask(places, parent);
}

}  // namespace vornik
