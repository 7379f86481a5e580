// The accessibility tests need one application object for the whole run (offscreen platform).
#include <gtest/gtest.h>

#include <QApplication>

#include "host/qt/TarvexButtonWidget.hpp"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // The pixel tests work out the classic colours, whatever palette the platform brings.
    tarvex::qt::UseClassicSystemColors();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
