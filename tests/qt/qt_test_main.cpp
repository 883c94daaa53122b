// Runs the Qt front end's tests in one QApplication, on the offscreen platform unless the
// environment names another.
#include <gtest/gtest.h>

#include <QApplication>

#include "frontends/qt/qt_application.h"

// fontconfig keeps process-lifetime caches that LeakSanitizer would report at exit;
// they are not leaks of this program.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    pelmora::configureApplicationQt(app);
    return RUN_ALL_TESTS();
}
