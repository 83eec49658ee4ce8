// Test entry: one application object for the whole process, on the offscreen platform, and
// what the harness could not do as the operator fails the running test.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/harness/failures.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    setHarnessFailureHandler([](const char* file, int line, const std::string& text) {
        ADD_FAILURE_AT(file, line) << text;
    });
    return RUN_ALL_TESTS();
}
