#pragma once
// Fonts for the window's controls. QtFontBook hands out one shared QFont per distinct
// design font, so widgets that use the same font share one QFont and Qt resolves each
// face once. The design's Windows faces do not exist on Linux; installFontSubstitutionsQt
// maps them to the installed faces the view names. warmUpFontsQt loads the font
// configuration early. Nothing here measures or draws text.

#include <QFont>
#include <QStringList>

#include <thread>
#include <utility>
#include <vector>

#include "toolkit/font.h"

namespace pelmora {

// Registers the substitutions with Qt (process-wide; calling it again changes nothing).
void installFontSubstitutionsQt();

// Reads the system's font configuration on a second thread while the main thread starts
// the application and connects to the display. Reading it (fontconfig's parse of its XML
// files) is the largest single cost of the first painted window, and nothing before the
// first font look-up needs it. It changes no setting and picks no font: the configuration
// it loads is the one Qt would load itself a moment later. Call it first thing in main()
// and join the thread before the first widget is made, so that Qt does not load the
// configuration a second time beside it. No thread (none to spare) is no warm-up.
std::jthread warmUpFontsQt();

class QtFontBook {
public:
    // The QFont for `font` at `pixelHeight`: copies of one QFont, sharing its data, every time.
    QFont font(const Font& font, int pixelHeight);
    std::size_t size() const { return fonts_.size(); }

private:
    std::vector<std::pair<std::pair<Font, int>, QFont>>
        fonts_;             // a handful of entries: a list is enough
    QStringList installed_; // font families, read on first use
};

} // namespace pelmora
