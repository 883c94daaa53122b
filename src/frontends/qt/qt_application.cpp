#include "frontends/qt/qt_application.h"

#include <QApplication>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>

#include "frontends/qt/qt_fonts.h"
#include "frontends/qt/qt_label_widget.h"

namespace pelmora {
namespace {

QIcon programIcon() {
    // The sizes a title bar or task switcher asks of a window, up to twice 32 for HiDPI
    // (launchers find the theme icon through the desktop file name). Pixmaps spare Qt a
    // search of its icon engine plugins at start-up, and naming the format, detection
    // off, goes straight to the built-in PNG reader instead of asking every image plugin.
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/icons/pelmora-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

} // namespace

void configureApplicationQt(QApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.pelmora.Pelmora"));
    // One style everywhere: the window is drawn to fixed pixel positions, and Fusion
    // draws its small check boxes and buttons predictably in them.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QApplication::setWindowIcon(programIcon());
    installFontSubstitutionsQt();
    installAccessibilityQt();
}

} // namespace pelmora
