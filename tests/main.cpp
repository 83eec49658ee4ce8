// Test entry: one application object for the whole process, on the offscreen platform, and
// what the harness could not do as the operator fails the running test. The settings
// history and the tool's settings (window place, the ports' devices) go to folders of the
// process's own, never the user's.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <cstdlib>

#include "tests/harness/failures.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir history;
    if (!std::getenv("QUORVEL_HISTORY_DIR"))
        qputenv("QUORVEL_HISTORY_DIR", history.path().toLocal8Bit().constData());
    const QTemporaryDir settingsDir;
    // Files in that folder on every system: Windows keeps native settings in the registry.
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    ::testing::InitGoogleTest(&argc, argv);
    setHarnessFailureHandler([](const char* file, int line, const std::string& text) {
        ADD_FAILURE_AT(file, line) << text;
    });
    return RUN_ALL_TESTS();
}
