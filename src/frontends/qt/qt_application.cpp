#include "frontends/qt/qt_application.h"

#include <QApplication>
#include <QImageReader>
#include <QPixmap>
#include <QStyle>
#include <QStyleFactory>

#include "frontends/qt/qt_fonts.h"
#include "frontends/qt/qt_label_widget.h"

namespace pelmora {

QIcon programIconQt() {
    // The sizes a title bar or task switcher asks of a window, up to twice 32 for HiDPI;
    // launchers take the large ones from the installed theme icon, found through the
    // desktop file name. Pixmaps rather than file names keep Qt from searching its icon
    // engine plugins at start-up. Naming the format, with detection off, goes straight to
    // Qt's built-in PNG reader: a plain QPixmap(file) would first load and ask every
    // image format plugin installed (GIF, JPEG, ICO, ...), which cost more than decoding.
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QImageReader reader(QStringLiteral(":/icons/pelmora-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

void configureApplicationQt(QApplication& app) {
    QCoreApplication::setApplicationName(QStringLiteral("Pelmora"));
    QGuiApplication::setDesktopFileName(QString::fromLatin1(ApplicationIdQt));
    // One style everywhere: the window is drawn to fixed pixel positions, and Fusion
    // draws its small check boxes and buttons predictably in them.
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) app.setStyle(fusion);
    QApplication::setWindowIcon(programIconQt());
    installFontSubstitutionsQt();
    installAccessibilityQt();
}

} // namespace pelmora
