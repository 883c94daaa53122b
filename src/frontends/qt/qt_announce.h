#pragma once
// Has the screen reader say a short text (a result) without moving the keyboard focus and
// without changing anything on the screen: no widget, no caption, no tab stop. Nothing
// happens when no assistive technology listens or no widget of the program has the focus.

class QString;

namespace pelmora {

void announceToScreenReaderQt(const QString& text);

} // namespace pelmora
