// The Linux program: the window Main drawn with Qt Widgets.
#include <QApplication>

#include <cstdio>

#include "app/main_window.h"
#include "frontends/qt/qt_application.h"
#include "frontends/qt/qt_fonts.h"
#include "frontends/qt/qt_window.h"

int main(int argc, char** argv) {
    // Without any display Qt would abort with a page about platform plugins; say it plainly.
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        std::fputs("pelmora: no display to show the window on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set)\n",
                   stderr);
        return 1;
    }
    // The font configuration loads beside the display connection rather than after it.
    std::jthread fontWarmUp = pelmora::warmUpFontsQt();
    // The program takes no options: Qt sees the program name, never the rest of the line.
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    pelmora::configureApplicationQt(app);

    pelmora::QtWindow window;
    pelmora::Main model(window.view());
    // The load event runs before the window is shown; an error there ends the program.
    if (!window.view().load(model.form(), [&] { model.load(); }))
        return pelmora::view::FailureExitCode;

    if (fontWarmUp.joinable()) fontWarmUp.join();
    window.view().show();
    window.show();
    return QApplication::exec();
}
