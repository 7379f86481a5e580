// The baseline: the same window with the same standard controls from the same stored layout,
// but without the three TarvexButtons.
#include <QApplication>
#include <QLineEdit>
#include <QWidget>

#include "FirstPaintClock.hpp"
#include "app/StandardControls.hpp"
#include "app/Startup.hpp"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget form;
    const tarvex::FormLayout layout = vornik::ReadStoredLayout();
    const vornik::StandardControls controls = vornik::CreateStandardControls(form, layout);
    vornik::ApplyTabOrder(form, layout);
    controls.Text1->setFocus();
    vornik::QuitAfterFirstPaint quitter(form, vornik::bench::PrintFirstPaintTime);
    form.show();
    return QApplication::exec();
}
