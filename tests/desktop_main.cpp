// Test main of the window-system side: a QApplication on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLocale>

int main(int argc, char** argv) {
    Q_INIT_RESOURCE(app);
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests at build time needs no window system.
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Money in the tests is pounds, whatever the machine's locale.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        qputenv("XDG_RUNTIME_DIR", QDir::tempPath().toUtf8() + "/tallora-tests-runtime-" +
                                       QByteArray::number(QCoreApplication::applicationPid()));
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
