#pragma once
// Process-wide settings of the Qt program, made once before any window exists: the
// application id the desktop matches windows with, the style, the program icon, the
// font substitutions and the accessibility of the painted labels. Shared by the program
// and its tests, so both see the window the same way.

#include <QIcon>

class QApplication;

namespace pelmora {

inline constexpr const char* ApplicationIdQt = "org.pelmora.Pelmora";

// The window icon, 16 to 64 pixels square.
QIcon programIconQt();

void configureApplicationQt(QApplication& app);

} // namespace pelmora
