// Test entry: a headless application, the program's callbacks registered,
// and every popup answered by the test seam.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "app/callbacks.h"
#include "platform/testing.h"

static void UnexpectedPopup(const seam::Popup& p) {
    ADD_FAILURE() << "unexpected popup: title \"" << p.title << "\" text \"" << p.text << "\"";
}

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // The program keeps its settings in the configuration folder: tests
    // never write into the real one (a test that wants its own sets it).
    QTemporaryDir config;
    if (config.isValid()) setenv("XDG_CONFIG_HOME", config.path().toLocal8Bit().constData(), 1);
    testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    seam::Install();
    seam::SetUnexpectedHandler(UnexpectedPopup);
    corvel::RegisterProgramCallbacks();
    return RUN_ALL_TESTS();
}
