// A window with two TarvexButtons from a .ui file (compiled by uic) and one made in code.
// With --check the window is shown, what the buttons hold is compared with the .ui and the code,
// and the program ends: 0 when everything matches.
#include <QApplication>
#include <QTextStream>
#include <QWidget>
#include <tarvex/TarvexButtonWidget.hpp>

#include "ui_ConsumerWindow.h"

using tarvex::qt::TarvexButtonWidget;

namespace {

TarvexButtonWidget* MakeHelpButton(QWidget* window) {
    auto* help = new TarvexButtonWidget(window);
    help->setObjectName(QStringLiteral("CmdHelp"));
    help->setGeometry(10, 50, 120, 30);
    help->setButtonType(TarvexButtonWidget::HoverEdge);
    help->setCaption(QStringLiteral("&Help"));
    return help;
}

bool Check(QTextStream& out, const QString& what, bool ok) {
    out << (ok ? "ok    " : "WRONG ") << what << '\n';
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    Ui::ConsumerWindow ui;
    ui.setupUi(&window);
    TarvexButtonWidget* help = MakeHelpButton(&window);
    QObject::connect(ui.CmdCancel, &TarvexButtonWidget::clicked, &window, &QWidget::close);
    window.show();

    if (!app.arguments().contains(QStringLiteral("--check"))) return app.exec();

    QTextStream out(stdout);
    bool ok = Check(out, "OK button from the .ui: shaded look",
                    ui.CmdOk->buttonType() == TarvexButtonWidget::Shaded);
    ok &= Check(out, "OK button: its own colours", ui.CmdOk->backColor() == QColor(192, 255, 192));
    ok &= Check(out, "Cancel button from the .ui: soft-frame look",
                ui.CmdCancel->buttonType() == TarvexButtonWidget::SoftFrame);
    ok &= Check(out, "Help button made in code: hover-edge look, caption &Help",
                help->buttonType() == TarvexButtonWidget::HoverEdge &&
                    help->caption() == QStringLiteral("&Help"));
    // Every property tells of its changes, once each.
    int captionChanges = 0;
    QObject::connect(help, &TarvexButtonWidget::captionChanged, &window,
                     [&captionChanges](const QString&) { ++captionChanges; });
    help->setCaption(QStringLiteral("&Help me"));
    help->setCaption(QStringLiteral("&Help me"));
    ok &= Check(out, "a caption change is told once", captionChanges == 1);
    // Shown, the program runs: the look no longer changes.
    help->setButtonType(TarvexButtonWidget::Classic);
    ok &= Check(out, "running buttons keep their look",
                help->buttonType() == TarvexButtonWidget::HoverEdge);
    const QImage image = window.grab().toImage();
    ok &= Check(out, "OK button painted its face",
                image.pixelColor(70, 25) != image.pixelColor(5, 5));
    return ok ? 0 : 1;
}
