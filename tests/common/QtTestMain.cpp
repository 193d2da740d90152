#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // Test discovery runs the binary at build time, outside CTest's
    // environment; the tests never need a real display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (std::getenv("TESSAROC_NONINTERACTIVE") == nullptr)
        setenv("TESSAROC_NONINTERACTIVE", "1", 1);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
