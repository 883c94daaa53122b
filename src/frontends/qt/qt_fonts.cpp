#include "frontends/qt/qt_fonts.h"

#include <QFontDatabase>

#include <fontconfig/fontconfig.h>

#include <system_error>

#include "frontends/qt/qt_text.h"
#include "view/look.h"

namespace pelmora {
namespace {

// The design face if installed, else its first installed substitute: an installed face
// saves Qt a fontconfig fallback search per font at start-up, and characters it lacks
// still come from the CJK face Qt's font merging finds. (The installed families rather
// than hasFamily(), which resolves a missing face's aliases through fontconfig at some
// cost. Qt keeps substitutes in lower case.)
QString installedFace(const QString& face, const QStringList& installed) {
    const auto find = [&](const QString& name) {
        for (const QString& family : installed)
            if (family.compare(name, Qt::CaseInsensitive) == 0) return family;
        return QString();
    };
    if (const QString found = find(face); !found.isEmpty()) return found;
    for (const QString& substitute : QFont::substitutes(face))
        if (const QString found = find(substitute); !found.isEmpty()) return found;
    return face;
}

} // namespace

void installFontSubstitutionsQt() {
    for (const Text& face : {fonts::SansSerif, fonts::Kai}) {
        QStringList substitutes;
        for (const Text& substitute : view::substituteFaces(face))
            substitutes += toQString(substitute);
        QFont::insertSubstitutions(toQString(face), substitutes);
    }
}

QFont QtFontBook::font(const Font& font, int pixelHeight) {
    for (const auto& [design, qfont] : fonts_)
        if (design == std::pair(font, pixelHeight)) return qfont;

    if (installed_.isEmpty()) installed_ = QFontDatabase::families();
    const QString face = installedFace(toQString(font.face), installed_);
    QFont qfont(face);
    qfont.setPixelSize(pixelHeight); // device-independent pixels
    qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    qfont.setItalic(font.italic);
    // Text in a GB2312 font is GB2312 text, all of it in the Chinese faces it maps to, so
    // no fallback face is needed. Without font merging Qt loads such a face once rather
    // than once per script: two engines fewer for the headings, a tenth of the first paint.
    if (font.charset == fonts::GB2312 && view::coversGb2312(toText(face)))
        qfont.setStyleStrategy(QFont::NoFontMerging);
    fonts_.emplace_back(std::pair(font, pixelHeight), qfont);
    return fonts_.back().second;
}

std::jthread warmUpFontsQt() {
    try {
        // FcInit loads the configuration and the font cache files once per process;
        // later callers, Qt among them, get the loaded configuration.
        return std::jthread([] { FcInit(); });
    } catch (const std::system_error&) {
        return {}; // no thread to spare: Qt loads the configuration itself, as it always can
    }
}

} // namespace pelmora
