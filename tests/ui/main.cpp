#include "application.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    // gtest_discover_tests runs this program outside CTest's environment too, so the headless
    // platform is chosen here rather than in the test properties.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    zarn::qt::setUpApplication();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
