#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Widget tests need a QApplication; it runs headless unless a platform was chosen.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and tag list files of the windows under test, and of programs the tests start,
    // go to a folder of this run, never beside the test program.
    QTemporaryDir configFolder;
    if (qEnvironmentVariableIsEmpty("KALVEX_CONFIG_DIR"))
        qputenv("KALVEX_CONFIG_DIR", configFolder.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
