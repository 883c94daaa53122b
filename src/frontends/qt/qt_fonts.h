#pragma once
// Fonts for the window's widgets. QtFontBook hands out one shared QFont per design font
// and height, so Qt resolves each face once; installFontSubstitutionsQt maps the design's
// Windows faces to the installed ones view::substituteFaces names; warmUpFontsQt loads the
// font configuration early. Nothing here measures or draws text.

#include <QFont>
#include <QStringList>

#include <thread>
#include <utility>
#include <vector>

#include "toolkit/font.h"

namespace pelmora {

// Registers the substitutions with Qt (process-wide; calling it again changes nothing).
void installFontSubstitutionsQt();

// Reads the system's font configuration (fontconfig's parse of its XML files, the largest
// single cost of the first painted window) on a second thread while the main thread
// connects to the display. It picks no font: Qt would load the same configuration a
// moment later. Call it first thing in main() and join the thread before the first widget
// is made, so that Qt does not load it twice. No thread to spare is no warm-up.
std::jthread warmUpFontsQt();

class QtFontBook {
public:
    // The QFont for `font` at `pixelHeight`: copies of one QFont, sharing its data, every time.
    QFont font(const Font& font, int pixelHeight);
    std::size_t size() const { return fonts_.size(); }

private:
    std::vector<std::pair<std::pair<Font, int>, QFont>> fonts_; // a handful: a list will do
    QStringList installed_;                                     // font families, read on first use
};

} // namespace pelmora
