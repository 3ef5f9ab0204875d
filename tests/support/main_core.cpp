#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // The same regional settings wherever the tests run; a test that needs others sets them itself.
    qputenv("LC_ALL", "C.UTF-8");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
