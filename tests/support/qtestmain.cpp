#include <QApplication>

#include <gtest/gtest.h>

// Tests that need Qt's event loop, widgets or sockets run inside one application object.
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
