// Writes a picture of the Vornik window, as the window paints itself at start (with the desktop
// colours the program takes), to the PNG named on the command line, in the device pixels of its
// screen: under QT_SCALE_FACTOR=2 a picture twice as wide and high, drawn at that scale. Runs on
// any Qt platform, the offscreen one included:
//   QT_QPA_PLATFORM=offscreen vornik-screenshot docs/vornik.png
//   QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 vornik-screenshot docs/vornik@2x.png
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "app/DialogService.hpp"
#include "app/FrmVornik.hpp"
#include "app/MessengerTarget.hpp"
#include "app/Startup.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vornik-screenshot OUT.png\n");
        return 2;
    }
    // The same names and desktop colours as the program itself.
    vornik::ApplyProgramLook();
    // Nothing is written: the search for the messenger's settings never runs.
    vornik::MessengerTarget target(vornik::MessengerTarget::SearchOfThisSystem(std::nullopt));
    vornik::QtDialogService dialogs;
    vornik::FrmVornik window(target, dialogs);
    window.show();
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "vornik-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
