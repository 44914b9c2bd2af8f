#include <QApplication>

#include <gtest/gtest.h>

// GoogleTest's main for widget tests: one QApplication for the whole program, on the offscreen
// platform unless the environment names another.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
