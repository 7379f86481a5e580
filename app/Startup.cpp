#include "app/Startup.hpp"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <exception>
#include <memory>
#include <optional>
#include <utility>

#include "app/CommandLine.hpp"
#include "app/DesktopSession.hpp"
#include "app/DialogService.hpp"
#include "app/FrmVornik.hpp"
#include "app/MessengerTarget.hpp"
#include "app/registry/SettingsPlace.hpp"
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

namespace {

// --help, --version and mistakes are answered before the toolkit starts: no display needed.
std::optional<int> AnswerWithoutWindow(const CommandLine& line) {
    const bool prefixAllowed = registry::PlacesCanBeNamed();
    switch (line.action) {
        case CommandLine::Action::kHelp:
            std::fputs(UsageText(prefixAllowed).c_str(), stdout);
            return 0;
        case CommandLine::Action::kVersion:
            std::fputs(VersionText().c_str(), stdout);
            return 0;
        case CommandLine::Action::kError:
            std::fprintf(stderr, "vornik: %s\nTry \"vornik --help\".\n", line.error.c_str());
            return 2;
        case CommandLine::Action::kRun:
            break;
    }
    std::error_code error;
    if (line.prefix && !std::filesystem::is_directory(*line.prefix, error)) {
        std::fprintf(stderr, "vornik: --prefix: there is no folder \"%s\"\n",
                     line.prefix->string().c_str());
        return 2;
    }
    if (const std::optional<std::string> missing = MissingDisplay()) {
        std::fprintf(stderr, "vornik: %s\n", missing->c_str());
        return 1;
    }
    return std::nullopt;
}

}  // namespace

void ApplyProgramLook() {
    QApplication::setApplicationName(QStringLiteral("vornik"));
    QGuiApplication::setDesktopFileName(QStringLiteral("vornik"));
    tarvex::qt::SetApplicationTitle(QStringLiteral("Vornik"));
    tarvex::qt::ApplyDesktopPalette(QApplication::palette());
}

int RunVornik(int& argc, char** argv, StartOptions options) {
    const CommandLine line = ParseCommandLine(argc, argv, registry::PlacesCanBeNamed());
    if (const std::optional<int> status = AnswerWithoutWindow(line)) return *status;
    QApplication application(argc, argv);
    // What the toolkit did not take is not for us either.
    if (const QStringList rest = QCoreApplication::arguments(); rest.size() > 1) {
        std::fprintf(stderr, "vornik: unknown argument \"%s\"\nTry \"vornik --help\".\n",
                     rest[1].toLocal8Bit().constData());
        return 2;
    }
    ApplyProgramLook();

    MessengerTarget target(MessengerTarget::SearchOfThisSystem(line.prefix));
    QtDialogService dialogs;
    std::optional<FrmVornik> window;
    try {
        window.emplace(target, dialogs);
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
