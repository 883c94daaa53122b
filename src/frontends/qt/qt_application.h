#pragma once
// Process-wide settings of the Qt program, made once before any window exists: the
// application id the desktop matches windows with, the style, the program icon (16 to 64
// pixels), the font substitutions and the accessibility of the painted labels and boxes.
// Shared by the program and its tests, so both see the window the same way.

class QApplication;

namespace pelmora {

void configureApplicationQt(QApplication& app);

} // namespace pelmora
