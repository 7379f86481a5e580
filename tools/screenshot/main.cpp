// Writes a picture of the Vornik window, as the window paints itself, to the PNG named on the
// command line, in the device pixels of its screen: under QT_SCALE_FACTOR=2 a picture twice as
// wide and high, drawn at that scale. Runs on any Qt platform, the offscreen one included:
//   QT_QPA_PLATFORM=offscreen vornik-screenshot docs/vornik.png
//   QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 vornik-screenshot docs/vornik@2x.png
#include <QApplication>
#include <QPixmap>
#include <cstdio>

#include "app/DialogService.hpp"
#include "app/FrmVornik.hpp"
#include "app/registry/Registry.hpp"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vornik-screenshot OUT.png\n");
        return 2;
    }
    registry::Registry registry = registry::Registry::ForCurrentUser();
    vornik::QtDialogService dialogs;
    vornik::FrmVornik window(registry, dialogs);
    window.show();
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "vornik-screenshot: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
