#include "frontends/qt/qt_fonts.h"

#include <QFontDatabase>

#include "frontends/qt/qt_text.h"
#include "view/layout.h"

namespace pelmora {
namespace {

// fonts-liberation and fonts-dejavu-core for Latin text, fonts-arphic-gkai00mp for the
// Kai headings, fonts-wqy-zenhei for every Chinese character the others lack.
const char* const CjkFallback = "WenQuanYi Zen Hei";

// The design face if installed, else its first installed substitute. Naming an installed
// face saves Qt a fontconfig fallback search per font at start-up; characters the face
// lacks (Chinese in a Latin face) still come from the fallback that Qt's font merging
// finds, the CJK face installed with the program.
// (The list of installed families, rather than hasFamily(), which resolves aliases of a
// missing face through fontconfig at some cost. Qt keeps substitutes in lower case.)
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

// The installed faces that hold all of GB2312.
bool coversGb2312(const QString& face) {
    return face == QLatin1String("AR PL KaitiM GB") || face == QLatin1String(CjkFallback);
}

} // namespace

QStringList substituteFacesQt(const QString& designFace) {
    if (designFace == toQString(fonts::SansSerif))
        return {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                QString::fromLatin1(CjkFallback)};
    if (designFace == toQString(fonts::Kai))
        return {QStringLiteral("AR PL KaitiM GB"), QString::fromLatin1(CjkFallback)};
    return {QString::fromLatin1(CjkFallback)};
}

void installFontSubstitutionsQt() {
    for (const Text& face : {fonts::SansSerif, fonts::Kai}) {
        const QString name = toQString(face);
        QFont::insertSubstitutions(name, substituteFacesQt(name));
    }
}

QFont QtFontBook::font(const Font& font) {
    for (const auto& [design, qfont] : fonts_)
        if (design == font) return qfont;

    if (installed_.isEmpty()) installed_ = QFontDatabase::families();
    const QString face = installedFace(toQString(font.face), installed_);
    QFont qfont(face);
    qfont.setPixelSize(view::fontPixelHeight(font.points)); // device-independent pixels
    qfont.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    qfont.setItalic(font.italic);
    // Text in a GB2312 font is GB2312 text, and the Chinese faces it maps to hold every
    // GB2312 character: nothing is ever drawn from a fallback face. Without font merging
    // Qt loads such a face once rather than once per script (it keeps one engine per
    // script for faces fontconfig does not list as Latin): two engines fewer for the
    // headings, a tenth of the first paint. The glyphs drawn are the same.
    if (font.charset == fonts::GB2312 && coversGb2312(face))
        qfont.setStyleStrategy(QFont::NoFontMerging);
    fonts_.emplace_back(font, qfont);
    return fonts_.back().second;
}

} // namespace pelmora
