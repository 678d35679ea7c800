#include <QApplication>

#include <gtest/gtest.h>

// Tests that need Qt's event loop, widgets or sockets run inside one application object, on
// the offscreen platform unless the caller chose another (CTest sets it; a test program
// started by hand or listed at build time has no display to rely on).
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
