#include "app/Startup.hpp"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

#include "app/DialogService.hpp"
#include "app/FrmVornik.hpp"
#include "app/registry/Registry.hpp"
#include "host/qt/TarvexButtonWidget.hpp"

namespace vornik {

QuitAfterFirstPaint::QuitAfterFirstPaint(QWidget& window, std::function<void()> painted)
    : painted_(std::move(painted)) {
    window.installEventFilter(this);
}

bool QuitAfterFirstPaint::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint && !seen_) {
        seen_ = true;
        // Queued: the children of the window paint after it in the same pass.
        QTimer::singleShot(0, qApp, [this] {
            if (painted_) painted_();
            QCoreApplication::quit();
        });
    }
    return QObject::eventFilter(watched, event);
}

int RunVornik(int& argc, char** argv, StartOptions options) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vornik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vornik"));
    tarvex::qt::SetApplicationTitle(QStringLiteral("Vornik"));
    tarvex::qt::ApplyDesktopPalette(QApplication::palette());

    registry::Registry registry = registry::Registry::ForCurrentUser();
    QtDialogService dialogs;
    std::optional<FrmVornik> window;
    try {
        window.emplace(registry, dialogs);
    } catch (const std::exception& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Vornik"),
                              QStringLiteral("The window could not be created: %1")
                                  .arg(QString::fromStdString(error.what())));
        return 1;
    }
    std::optional<QuitAfterFirstPaint> quitter;
    if (options.quitAfterFirstPaint) quitter.emplace(*window, std::move(options.painted));
    window->show();
    return QApplication::exec();
}

}  // namespace vornik
