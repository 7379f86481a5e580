// The display-scale tests run on the offscreen platform with three screens side by side, of
// device pixel ratios 1, 1.5 and 2, so that one process can place a window on each and move it.
#include <gtest/gtest.h>

#include <QApplication>

#include "host/qt/TarvexButtonWidget.hpp"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" HIDPI_SCREENS);
    QApplication app(argc, argv);
    // The pixel tests work out the classic colours, whatever palette the platform brings.
    tarvex::qt::UseClassicSystemColors();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
