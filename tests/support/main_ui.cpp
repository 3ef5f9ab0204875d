#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The same regional settings wherever the tests run; a test that needs others sets them itself.
    qputenv("LC_ALL", "C.UTF-8");
    // Windows are drawn offscreen: tests run where there is no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
