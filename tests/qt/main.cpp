// The Qt tests need one application object that lives for the whole run and goes before Qt's own
// globals do, so it lives on main's stack.
#include <gtest/gtest.h>

#include <QApplication>

#include "host/qt/TarvexButtonWidget.hpp"

int main(int argc, char** argv) {
    // Listing the tests happens outside the test environment too; never look for a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The pixel tests work out the classic colours, whatever palette the platform brings.
    tarvex::qt::UseClassicSystemColors();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
