#pragma once
// Fonts for the window's controls. QtFontBook hands out one shared QFont per distinct
// design font, so widgets that use the same font share one QFont and Qt resolves each
// face once. The design's Windows faces do not exist on Linux; installFontSubstitutionsQt
// maps them to installed faces with a CJK fallback, so Chinese captions never show as
// boxes. Nothing here measures or draws text.

#include <QFont>
#include <QStringList>

#include <utility>
#include <vector>

#include "toolkit/font.h"

namespace pelmora {

// The faces tried, in order, for a design face the platform may lack.
QStringList substituteFacesQt(const QString& designFace);

// Registers the substitutions with Qt (process-wide; calling it again changes nothing).
void installFontSubstitutionsQt();

class QtFontBook {
public:
    // The QFont for `font`: copies of one QFont, sharing its data, every time.
    QFont font(const Font& font);
    std::size_t size() const { return fonts_.size(); }

private:
    std::vector<std::pair<Font, QFont>> fonts_; // a handful of entries: a list is enough
    QStringList installed_;                     // font families, read on first use
};

} // namespace pelmora
